#pragma once
// The webcam manager: owns every webcam of the data folder, one thumbnail per webcam, the pool
// of fetch threads, the scheduler thread, the two fetch queues and the wait list. It is the only
// way the main window starts, stops, counts and looks at webcams, and the only way pictures and
// status changes reach it: the threads report through the webcams' callbacks on the main thread,
// and the manager updates the thumbnail and fires its events.
//
// Threads: everything here runs on the main thread except GetNextWebcam (fetch threads),
// QueueWebcam and WakeIdleThread (also the scheduler), and the reads of FSettings.
// Indices are 1-based unless said otherwise; event indices are 0-based list positions.

#include "engine/bitmap.h"
#include "engine/fetch_queue.h"
#include "engine/settings_records.h"
#include "engine/webcam_events.h"
#include "engine/webcam_list.h"
#include "engine/webcam_records.h"
#include "engine/webcam_scan_settings.h"
#include "engine/webcam_workers.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace engine {

class ttimerthread;
class twebcam;

// What the manager is built with: the makers of its threads and the JPEG decoder.
struct WebcamManagerServices {
    FetchWorkerFactory fetchWorkers;    // required
    StreamWorkerFactory streamWorkers;  // needed once a streaming webcam starts
    PictureDecoder decodePicture;       // required
};

class twebcammanager {
public:
    // Creates the scheduler and ThreadCount (clamped to 4..64) fetch threads, none running yet,
    // and the global category manager.
    twebcammanager(const std::string& DataFolder, int ThreadCount, const TExtra1Rec& extra1,
                   const TConfigRec& config, WebcamManagerServices services);
    // Stops every webcam, ends every thread, frees the webcams.
    ~twebcammanager();
    twebcammanager(const twebcammanager&) = delete;
    twebcammanager& operator=(const twebcammanager&) = delete;

    // Counts.
    int Count() const { return FList.Count(); }
    twebcam* GetWebcam(int i) const { return FList.Get(i - 1); }  // std::out_of_range outside the list
    int RunningCount() const;
    int DisplayedCount() const;
    void CountThreadStates(int& inHeader, int& inPicture) const;

    // Run operations. Those taking an index raise std::out_of_range with message 65178 for an
    // index outside 1..Count; StartWebcam resumes the threads before it checks.
    void StartWebcam(int i);
    void StopWebcam(int i);
    void PauseWebcam(int i);
    void StartAll();
    void StartSelected();
    void StartFavourites();
    void StopSelected();
    void StopAll();

    // Starts the scheduler and then each fetch thread, 10 ms apart; only the first call acts.
    void ResumeThreads();
    bool ThreadsStarted() const { return FThreadsStarted; }

    // Queues and wait list.
    void QueueWebcam(twebcam& webcam);
    void AddToWaitList(twebcam& webcam) { FQueues.AddToWaitList(webcam); }
    void Unqueue(twebcam& webcam) { FQueues.Unqueue(webcam); }
    void RemoveFromWaitList(twebcam& webcam) { FQueues.RemoveFromWaitList(webcam); }
    // Fetch thread ThreadIndex (1-based) takes a webcam: threads 1..FNormalFirst prefer the
    // normal queue, the others the favourites.
    bool GetNextWebcam(int ThreadIndex, twebcam*& webcam);
    // Clears the idle flag of the first idle fetch thread and wakes it.
    void WakeIdleThread();
    // Marks the webcam stopping and interrupts the request of the thread that holds it.
    void AbortFetch(twebcam& webcam);
    // Whether the fetch thread holding the webcam is blocked in a call the main thread is
    // running now.
    bool HolderIsWaitingForMain(const twebcam& webcam) const;

    // Display map of the grid (cells are 0-based).
    void ClearDisplaySlots();
    void SetDisplaySlot(int i, int Cell);
    int GetCellWebcam(int Cell) const;

    // Thumbnails.
    Bitmap GetThumbnail(int i) const;
    void SetThumbnail(int position, const Bitmap& bitmap);  // 0-based
    void MakeThumbnail(const std::string& FileName, Bitmap& bitmap) const;
    void SetThumbnailSize(int width, int height);  // the main window's ThumbWidth, ThumbHeight
    Bitmap BlankThumbnail() const;

    // The webcams' callbacks, on the main thread.
    void PictureArrived(int Index, const std::string& FileName, const std::string* Stream, std::uint8_t Kind,
                        twebcampicture* Picture, int Score);
    void StreamPictureArrived(int Index, const std::string& FileName, const std::string* Stream, std::uint8_t Kind,
                              twebcampicture* Picture, int Score);
    void StatusChanged(int Index, int Status);

    // The list itself, for loading and adding: appends a webcam at the next position (isNew:
    // writes its records), with a blank thumbnail.
    twebcam& AppendWebcam(const TWebcamDefRec& rec, const TWebcamDef1Rec& rec2, bool isNew);
    // Stops and frees the webcam at the 0-based position; its slots stay empty until a reload.
    // A webcam still held by a thread that waits for the main thread is freed once let go.
    void FreeWebcam(int position);
    // Keeps a stream thread that was stopped from inside one of its own calls until it ended.
    void RetireStreamThread(std::unique_ptr<tstreamworker> thread);
    // Changes whenever a webcam is freed.
    unsigned WebcamGeneration() const { return FWebcamGeneration; }

    std::unique_ptr<tstreamworker> CreateStreamThread(twebcam& webcam);
    std::unique_ptr<twebcampicture> DecodePicture(std::string bytes) const;
    // The main window's settings changed.
    void ApplySettings(const TConfigRec& config, const TExtra1Rec& extra1) { FSettings.Assign(config, extra1); }

    // Events.
    TWebcamPictureEvent OnNewPicture;
    TWebcamPictureEvent OnStreamPicture;
    TWebcamStatusEvent OnStatusChange;

    // Fixed at construction, read by the fetch threads.
    int FThreadCount;
    int FNormalFirst;
    std::string FDataFolder;
    bool FProxyEnabled;
    std::string FProxyHost;
    int FProxyPort;
    std::string FProxyUser;
    std::string FProxyPassword;

    twebcamscansettings FSettings;
    twebcamqueues FQueues;
    std::vector<std::unique_ptr<tfetchworker>> FThreads;  // thread i at [i - 1]
    std::unique_ptr<ttimerthread> FTimerThread;

private:
    twebcam* Checked(int i) const;  // the webcam at i (null for an empty slot) or the range error
    void KeepPicture(int Index, twebcam& webcam, twebcampicture& picture, std::uint8_t Kind);
    template <typename Fn>
    void ForEachWebcam(Fn fn) const;
    // Frees the retired webcams and stream threads that are let go of.
    void SweepRetired();

    WebcamManagerServices FServices;
    twebcamlist1 FList;                               // owns nothing: the webcams are freed here
    std::vector<std::unique_ptr<Bitmap>> FThumbnails;  // parallel to FList
    int FThumbWidth = 86;
    int FThumbHeight = 80;
    bool FThreadsStarted = false;
    std::atomic<unsigned> FWebcamGeneration{0};
    std::vector<std::unique_ptr<twebcam>> FRetiredWebcams;
    std::vector<std::unique_ptr<tstreamworker>> FRetiredStreams;
};

}  // namespace engine
