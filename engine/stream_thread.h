#pragma once
// tstreamthread: the thread of one running streaming webcam. It holds one long GET open, with
// a new TtvxHTTP for every connection, cuts the JPEG pictures out of the reply (FrameSplitter)
// and hands each one to the stream-frame step on the main thread. When a connection ends, the
// picture it had begun is delivered too, unless the connection was interrupted; then the
// thread connects again:
// A frame that is no picture, or a reply that ended without one, sets status 7 and is logged
// with its reason once per connection; the stream reads on, and the next picture sets status
// 4 again.
// - Refresh seconds after the server ended the reply;
// - at least kWaitAfterFailure after a failure: refused, reset or an error status (these are
//   logged), or, silently, quiet for the inactivity limit or no picture within kMaxFrameBytes;
//   and after any connection that brought no picture, such as an empty reply;
// - at once after its own close on port 4020, whose servers send one picture per connection:
//   the thread closes the connection after each delivered picture.
// A local picture file is read again every Refresh seconds.
//
// Threads: the connection, its component and the inactivity watch belong to this thread. The
// main thread reaches it only through InterruptRequest (the component's interrupt handle) and
// Terminate; every result goes to the main thread through Synchronize. Once terminated the
// thread never touches its webcam again: a webcam stopped from inside one of the thread's own
// calls may be gone when that call returns.

#include "engine/fetch_thread.h"
#include "engine/frame_splitter.h"
#include "engine/new_picture_preparation.h"
#include "engine/picture_request.h"
#include "engine/webcam_records.h"
#include "engine/webcam_workers.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

namespace engine {

// Servers on this port send one picture per connection.
inline constexpr std::uint16_t kOneFramePort = 4020;
// The shortest wait before connecting again after a failed connection.
inline constexpr std::chrono::seconds kWaitAfterFailure{1};
// The pause after a local file was read, before the Refresh wait.
inline constexpr std::chrono::milliseconds kLocalReadPause{100};

class tstreamthread : public tstreamworker {
public:
    tstreamthread(twebcam& webcam, twebcammanager& manager, std::shared_ptr<const FetchThreadSettings> settings);
    ~tstreamthread() override;

    void InterruptRequest() override;

protected:
    void Execute() override;

private:
    // How a connection ended, which decides the wait before the next one.
    enum class Ending { Closed, ClosedAfterFrame, Failed };

    bool Halted() const;
    Ending Connect();
    Ending DoRead(const TWebcamDefRec& rec);
    void ReadLocalFile(const std::string& path);
    bool WaitToReconnect(Ending ending);

    // The component's transfer event: the splitter, and each picture to the main thread.
    void DoTransfer(const std::string& Text);
    void DeliverRest();
    // A frame of the connection to the stream-frame step, and what its verdict means for the
    // webcam's status and the error log.
    void Deliver(const std::string& frame);
    PictureVerdict Newpic(const std::string& frame);
    // The connection gave something that is no picture: status 7, and the reason logged once
    // per connection however many such frames come.
    void NoPicture(const std::string& reason);
    void SetStatus(std::uint8_t status);
    void LogError(const std::string& text);

    twebcam& FWebcam;
    twebcammanager& FManager;
    const std::shared_ptr<const FetchThreadSettings> FSettings;
    ThreadHttp FHTTP;  // a new one for every connection; interrupted by the main thread

    // This thread only: the state of the current connection.
    std::string FFolder;  // the webcam's folder, ending in '/'
    FrameSplitter FSplitter;
    StreamFramePreparer FFramePreparer;  // the frames handed to Newpic, over every connection
    bool FOneFrame = false;          // on port 4020
    bool FClosedAfterFrame = false;  // closed by the thread after a picture on port 4020
    bool FGotPicture = false;        // the connection (or file) gave a picture
    bool FGotBytes = false;          // the connection's reply had a body
    bool FNoPictureLogged = false;   // the connection's one entry for what was no picture
    RequestWatch FWatch;  // no deadline: a stream's connection lasts
};

}  // namespace engine
