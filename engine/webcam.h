#pragma once
// One webcam at run time: its two stored records, its run state, its due time, its status and
// the last picture that was not saved to a file. The manager owns every webcam; the main thread
// starts, pauses and stops it, and the fetch, stream and scheduler threads read its flags and
// set its busy flag, due time and status, which are therefore atomic. The records are guarded
// by a lock of their own, since threads copy them while the main window may change them.

#include "engine/kept_text_file.h"
#include "engine/newest_saved_picture.h"
#include "engine/running_flag.h"
#include "engine/webcam_events.h"
#include "engine/webcam_records.h"
#include "platform/clock_datetime.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace engine {

class twebcammanager;
class tstreamworker;

class twebcam {
public:
    // A webcam from stored records: creates its folder and reads the dates of its header.txt.
    twebcam(twebcammanager& manager, TWebcamStatusEvent onStatus, TWebcamPictureEvent onStreamPicture,
            TWebcamPictureEvent onPicture, const TWebcamDef1Rec& rec2, const TWebcamDefRec& rec, int recordNo,
            const std::string& dataDir);
    // A new webcam: creates its folder and writes both records at its record number.
    static std::unique_ptr<twebcam> CreateNew(twebcammanager& manager, TWebcamStatusEvent onStatus,
                                              TWebcamPictureEvent onStreamPicture, TWebcamPictureEvent onPicture,
                                              const TWebcamDef1Rec& rec2, const TWebcamDefRec& rec, int recordNo,
                                              const std::string& dataDir);
    ~twebcam();  // stops first
    twebcam(const twebcam&) = delete;
    twebcam& operator=(const twebcam&) = delete;

    // Copies of the records, safe on any thread.
    TWebcamDefRec Rec() const;
    TWebcamDef1Rec Rec2() const;
    std::string Name() const;
    bool Favourite() const;
    bool Enabled() const;  // without a copy of the record: the filters ask it of every webcam
    std::uint8_t GetWebcamType() const;
    // The webcam's own folder: the data folder + Name + "/"; empty when the name is not a safe
    // folder name, so that no path is ever built from it.
    std::string Folder() const;

    // Main thread. SetRecord renames the folder when the name changes.
    void SetRecord(const TWebcamDefRec& rec);
    void SetRecord2(const TWebcamDef1Rec& rec2);
    void WriteRecord();
    void WriteRecord2();
    void SetEnabled(bool enabled);
    void SetFavourite(bool favourite);

    // Main thread: the run operations, and the scheduling after each fetch turn.
    void Start();
    void Pause();
    void Stop();
    void ScheduleNext();

    // Fetch thread, at the start of a turn: the next due time is now + Refresh seconds, capped
    // for favourites when the cap is on.
    void SetTurnDueTime();

    // Sets FServerDate and FLastModified from the lines of a response header.
    void ReadHeaderDates(const std::vector<std::string>& lines);

    // Main thread.
    bool HasImage() const { return FPicture.has_value(); }
    // The newest picture: the unsaved one in memory, else the newest file of the folder (named
    // in fileName). False when there is none.
    bool GetLatestImage(std::unique_ptr<twebcampicture>& picture, std::string& fileName);

    twebcammanager& FManager;
    RunningFlag FRunning;  // counted by the manager
    std::unique_ptr<tstreamworker> FStreamThread;  // main thread only
    std::optional<std::string> FPicture;            // main thread only
    NewestSavedPicture FNewestSaved;                // main thread only
    std::atomic<std::uint8_t> FStatus{kStatusStarted};
    platform::TDateTime FLastNewPicture = 0;        // local time; main thread only
    std::atomic<platform::TDateTime> FLastModified{0};
    std::atomic<platform::TDateTime> FServerDate{0};
    // Set under the queue lock when a fetch thread takes the webcam, cleared when the thread
    // has let go of it for good (after its rescheduling ran on the main thread).
    std::atomic<bool> FBusy{false};
    std::atomic<bool> FStopping{false};
    // Its header.txt as the last turn read it; the fetch thread that holds the webcam only.
    KeptTextFile FKeptHeader;
    int FPictureCounter = 0;                        // main thread only
    // The last free picture name handed out and the hundredth after it (local time), where the
    // next search starts while that name is taken; main thread only.
    struct FreeNameHint {
        std::string lastName;
        platform::TDateTime next = 0;
    } FFreeNameHint;
    std::atomic<platform::TDateTime> FDueTime{0};   // monotonic clock
    // Set by a fetch thread whose turn failed: until then (monotonic clock) the webcam keeps
    // showing the failure, and only then goes on or waits for its due time. Taken by
    // ScheduleNext.
    std::atomic<platform::TDateTime> FPausedUntil{0};
    bool FResting = false;                          // main thread only
    const std::string FFolder;                      // the data folder, ending in '/'
    const int FRecordNo;
    int FDisplayCell;                               // main thread only, like the two below
    int FCellWebcam;
    bool FNewPicture = false;
    bool FSelected = false;
    const TWebcamPictureEvent FOnPicture;
    const TWebcamPictureEvent FOnStreamPicture;
    const TWebcamStatusEvent FOnStatus;

private:
    twebcam(twebcammanager& manager, TWebcamStatusEvent onStatus, TWebcamPictureEvent onStreamPicture,
            TWebcamPictureEvent onPicture, const TWebcamDef1Rec& rec2, const TWebcamDefRec& rec, int recordNo,
            const std::string& dataDir, bool readHeader);
    void Report(std::uint8_t status) const;
    void WaitForDueTime();  // status 5, on the wait list
    void PauseUntil(platform::TDateTime until);  // status unchanged, on the wait list until then
    void QueueNow();        // status 1, into its fetch queue
    void LeaveLists();      // out of the wait list and both queues

    mutable std::mutex FRecLock;  // guards FRec and FRec2
    TWebcamDefRec FRec;
    TWebcamDef1Rec FRec2;
};

}  // namespace engine
