#pragma once
// A file of equal-size records with no header, read and written whole records at a time.
// Nothing keeps such a file open between operations: open, work, close.

#include <cstddef>
#include <string>

namespace platform {

class RecordFile {
public:
    enum class Mode {
        ReadOnly,      // an existing file, for reading
        ReadWrite,     // an existing file, for reading and writing; never truncated
        CreateEmpty,   // a new, empty file (an existing one is emptied)
    };

    RecordFile(std::size_t recordSize) : recordSize_(recordSize) {}
    ~RecordFile() { Close(); }
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // False when the file cannot be opened in that mode (ReadOnly and ReadWrite never create).
    bool Open(const std::string& path, Mode mode);
    // False when the file could not be closed cleanly (written data may be lost).
    bool Close();
    bool IsOpen() const { return fd_ >= 0; }

    // Whole records in the file; a trailing partial record does not count.
    long Count() const;
    // Reads record n into buffer; false when it is not all there.
    bool Read(long n, void* buffer) const;
    // Writes record n; false unless all of it was written.
    bool Write(long n, const void* buffer);
    // Makes the written records durable before a rename puts the file in place.
    bool Flush();

    std::size_t recordSize() const { return recordSize_; }

private:
    std::size_t recordSize_;
    int fd_ = -1;
};

}  // namespace platform
