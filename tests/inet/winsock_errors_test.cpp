#include "inet/winsock_errors.h"

#include <gtest/gtest.h>

#include "inet/socket_core.h"
#include "inet/tvx_core.h"
#include "inet/winsock_binding.h"

namespace {

TEST(WinsockErrors, TextsOfKnownAndUnknownCodes) {
    struct Case {
        int code;
        const char* text;
        int result;
    };
    for (const Case& c : {
             Case{10035, "[10035] Operation would block", 0},
             Case{10054, "[10054] Connection reset by peer", 0},
             Case{10061, "[10061] Connection refused", 0},
             Case{10066, "[10066] Directory not empt", 0},
             Case{10093, "[10093] Winsock not loaded yet (WSANOTINITIALISED)", 0},
             Case{11001, "[11001] Host not found", 0},
             Case{11004, "[11004] Valid name, no data record (check DNS setup)", 0},
             Case{10101, "[10101] (no description available)", 1},
             Case{0, "[0] (no description available)", 1},
             Case{65536 + 10061, "[75597] Connection refused", 0},  // looked up by the low 16 bits
         }) {
        std::string text;
        EXPECT_EQ(c.result, inet::ErrorText(c.code, text));
        EXPECT_EQ(c.text, text);
    }
}

TEST(SocketCoreErrors, SetErrorKeepsATextAndFillsAMissingOne) {
    inet::SocketCore core(false);
    EXPECT_EQ(0, core.SetError(0));
    EXPECT_FALSE(core.HasLastError());

    EXPECT_EQ(10060, core.SetError(10060));
    EXPECT_EQ("[10060] Connection timed out", core.LastError());

    core.SetLastError("the server said no");
    EXPECT_EQ(161, core.SetError(161));
    EXPECT_EQ("the server said no", core.LastError());

    core.SetLastError("");  // a stored empty text still counts as a text
    EXPECT_EQ(151, core.SetError(151));
    EXPECT_EQ("", core.LastError());
    EXPECT_TRUE(core.HasLastError());

    core.SetLastError("Timeout.");
    EXPECT_EQ(301, core.SetError(301));
    EXPECT_EQ("Interrupted.", core.LastError());
    EXPECT_EQ(200, core.SetError(200));
    EXPECT_EQ("Out of memory.", core.LastError());

    core.ClearLastError();
    EXPECT_EQ(12345, core.SetError(12345));
    EXPECT_EQ("[12345] (no description available)", core.LastError());
}

class Component : public inet::TtvxCore {
public:
    std::string engineText;
    void Fail(int code, const std::string& text = {}) const { RaiseError(code, text); }

protected:
    std::string EngineLastError() const override { return engineText; }
    std::exception_ptr CreateException(int code, const std::string& text) const override {
        return std::make_exception_ptr(inet::EtvxHTTP(code, text));
    }
};

TEST(ComponentErrors, MessageIsTheCodeAColonAndTheText) {
    struct Case {
        int code;
        std::string engineText, givenText, message;
    };
    for (const Case& c : {
             Case{301, "Interrupted.", "", "301: Interrupted."},
             Case{151, "404 Not Found", "", "151: 404 Not Found"},
             Case{151, "", "", "151: "},
             Case{143, "engine text", "given text", "143: given text"},
             Case{-1, "", "Portivo HTTP: Error creating component", "-1: Portivo HTTP: Error creating component"},
         }) {
        Component component;
        component.engineText = c.engineText;
        try {
            component.Fail(c.code, c.givenText);
            ADD_FAILURE() << "no exception";
        } catch (const inet::EtvxHTTP& e) {
            EXPECT_EQ(c.code, e.Code);
            EXPECT_EQ(c.message, e.what());
        }
    }
}

TEST(WinsockBinding, ReferencesFollowTheConnectionsThatHoldThem) {
    int before = inet::winsock::References();
    {
        inet::SocketCore held(true);
        EXPECT_TRUE(held.WinsockLoaded());
        EXPECT_EQ(before + 1, inet::winsock::References());
        EXPECT_EQ("Running", inet::winsock::Status());
        held.SetWinsockLoaded(false);
        held.SetWinsockLoaded(false);  // giving back twice gives back once
        EXPECT_EQ(before, inet::winsock::References());
    }
    EXPECT_EQ(before, inet::winsock::References());
    inet::winsock::Release();  // more releases than references do nothing
    EXPECT_EQ(0, inet::winsock::References());
    EXPECT_EQ("Down", inet::winsock::Status());
    EXPECT_EQ("", inet::winsock::Info());
}

}  // namespace
