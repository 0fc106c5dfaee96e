#include "ui/saverlist/saver_list_file.h"

#include "platform/fd_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <system_error>

namespace ui {
namespace {

constexpr off_t kRecordSize = sizeof(engine::TWebcamDefRec);
constexpr off_t kInSaverListOffset = offsetof(engine::TWebcamDefRec, InSaverList);

// An open webcams.def that reports each failed step as errors asks.
class DefFile {
public:
    DefFile(const std::string& path, IoErrors errors) : path_(path), errors_(errors) {}
    ~DefFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    DefFile(const DefFile&) = delete;
    DefFile& operator=(const DefFile&) = delete;

    bool Open(int flags) {
        errno = 0;
        do {
            fd_ = ::open(path_.c_str(), flags | O_CLOEXEC);
        } while (fd_ < 0 && errno == EINTR);
        return Check(fd_ >= 0, "opening");
    }

    // Whole records; a partial record at the end does not count.
    bool Count(long& count) {
        struct stat st {};
        errno = 0;
        if (!Check(::fstat(fd_, &st) == 0, "reading")) return false;
        count = static_cast<long>(st.st_size / kRecordSize);
        return true;
    }

    bool Read(long n, engine::TWebcamDefRec& rec) {
        errno = 0;
        return Check(platform::PreadAll(fd_, &rec, sizeof rec, n * kRecordSize), "reading");
    }

    bool WriteFlag(long n, std::uint8_t flag) {
        errno = 0;
        return Check(platform::PwriteAll(fd_, &flag, 1, n * kRecordSize + kInSaverListOffset), "writing");
    }

    bool Close() {
        errno = 0;
        const bool ok = ::close(fd_) == 0;
        fd_ = -1;
        return Check(ok, "closing");
    }

private:
    bool Check(bool ok, const char* step) const {
        if (!ok && errors_ == IoErrors::Raise) {
            // A short read or write at the end of the file leaves errno unset.
            throw std::system_error(errno != 0 ? errno : EIO, std::generic_category(),
                                    std::string("I/O error ") + step + " " + path_);
        }
        return ok;
    }

    std::string path_;
    IoErrors errors_;
    int fd_ = -1;
};

}  // namespace

std::vector<engine::tsdo> ReadSaverListRecords(const std::string& path, IoErrors errors) {
    std::vector<engine::tsdo> records;
    DefFile file(path, errors);
    long count = 0;
    if (!file.Open(O_RDONLY) || !file.Count(count)) return records;
    auto rec = engine::ZeroRecord<engine::TWebcamDefRec>();
    for (long n = 0; n < count && file.Read(n, rec); ++n) records.emplace_back(rec);
    file.Close();
    return records;
}

std::vector<SaverListChange> WriteSaverListFlags(const std::string& path, const std::vector<SaverListChoice>& choices,
                                                 IoErrors errors) {
    std::vector<SaverListChange> changes;
    DefFile file(path, errors);
    long count = 0;
    if (!file.Open(O_RDWR) || !file.Count(count)) return changes;
    auto rec = engine::ZeroRecord<engine::TWebcamDefRec>();
    for (const SaverListChoice& choice : choices) {
        if (choice.recordNumber < 0 || choice.recordNumber >= count) continue;
        if (!file.Read(choice.recordNumber, rec)) return changes;
        if (rec.PictureURL.view() != choice.pictureURL) continue;
        if ((rec.InSaverList != 0) == choice.onList) continue;
        const std::uint8_t flag = choice.onList ? 1 : 0;
        if (!file.WriteFlag(choice.recordNumber, flag)) return changes;
        changes.push_back({choice.recordNumber, choice.pictureURL, flag});
    }
    file.Close();
    return changes;
}

}  // namespace ui
