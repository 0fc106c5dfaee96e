"""Handler of the aiosmtpd server that the SMTP tests start.

Stores every message it accepts in a folder: N.envelope (the sender, then one recipient
per line) and N.eml (the message bytes as received, dots unstuffed), N counting from 1.
Each file is written under a temporary name and renamed, so a reader never sees half of
it; the .eml file comes last. Mail for the one refused address is answered 550.
"""

import os


class StoringHandler:
    def __init__(self, folder, refused=""):
        self.folder = folder
        self.refused = refused
        self.count = 0

    @classmethod
    def from_cli(cls, parser, *args):
        return cls(*args)

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if self.refused and address == self.refused:
            return "550 5.1.1 no such user here"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        base = os.path.join(self.folder, str(self.count))
        lines = [envelope.mail_from] + list(envelope.rcpt_tos)
        self._store(base + ".envelope", "".join(line + "\n" for line in lines).encode("utf-8", "surrogateescape"))
        self._store(base + ".eml", envelope.content)
        return "250 OK stored"

    @staticmethod
    def _store(path, data):
        temporary = path + ".tmp"
        with open(temporary, "wb") as out:
            out.write(data)
        os.replace(temporary, path)
