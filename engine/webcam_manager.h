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
#include "engine/webcam_list_view.h"
#include "engine/webcam_records.h"
#include "engine/webcam_scan_settings.h"
#include "engine/webcam_url_index.h"
#include "engine/webcam_workers.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

class ttimerthread;
class twebcam;
struct WebcamDefinition;

// What the manager is built with: the makers of its threads and the JPEG decoder.
struct WebcamManagerServices {
    FetchWorkerFactory fetchWorkers;    // required
    StreamWorkerFactory streamWorkers;  // needed once a streaming webcam starts
    PictureDecoder decodePicture;       // required
    // Makes the scheduler; when not given, a ttimerthread.
    std::function<std::unique_ptr<ttimerthread>(twebcammanager&)> scheduler = {};
};

// Whether two picture URLs name the same webcam: compared in upper case, without what comes up
// to the first "HTTP://" and without the first "WWW.".
bool SameWebcamUrl(std::string_view A, std::string_view B);

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
    int RunningCount() const { return FRunningCount; }
    int DisplayedCount() const { return FDisplayedCount; }  // webcams with a display cell
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
    void AddToWaitList(twebcam& webcam, platform::TDateTime until) { FQueues.AddToWaitList(webcam, until); }
    void Unqueue(twebcam& webcam) { FQueues.Unqueue(webcam); }
    void RemoveFromWaitList(twebcam& webcam) { FQueues.RemoveFromWaitList(webcam); }
    // Fetch thread ThreadIndex (1-based) takes a webcam: threads 1..FNormalFirst prefer the
    // normal queue, the others the favourites.
    // idle, when given, is the thread's idle flag: raised when nothing was taken.
    bool GetNextWebcam(int ThreadIndex, twebcam*& webcam, std::atomic<bool>* idle = nullptr);
    // Clears the idle flag of the first idle fetch thread and wakes it; runs under the queue
    // lock for every webcam queued.
    void WakeIdleThread();
    // Main thread, from the end handler of fetch thread Index (1-based) that ended without being
    // asked to: a later call, after the handler returned, puts a new thread into its slot.
    void FetchThreadEnded(int Index);
    // Main thread, from the end handler of a scheduler that ended without being asked to: a
    // later call puts a new one in its place.
    void SchedulerEnded();
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
    // The main window's ThumbWidth, ThumbHeight; a side above the largest (or below 1) is its default.
    void SetThumbnailSize(int width, int height);
    Bitmap BlankThumbnail() const;
    // Any thread: the size the workers draw thumbnails ahead at.
    int ThumbWidth() const { return FThumbWidth; }
    int ThumbHeight() const { return FThumbHeight; }
    // Main thread: the thumbnail a worker drew ahead for the picture being reported now. The
    // picture callback takes it, when it has the thumbnail size, instead of drawing one.
    void OfferThumbnail(std::optional<Bitmap> thumbnail);

    // The webcams' callbacks, on the main thread.
    void PictureArrived(int Index, const std::string& FileName, const std::string* Stream, std::uint8_t Kind,
                        twebcampicture* Picture, int Score);
    void StreamPictureArrived(int Index, const std::string& FileName, const std::string* Stream, std::uint8_t Kind,
                              twebcampicture* Picture, int Score);
    void StatusChanged(int Index, int Status);

    // Loading, adding, deleting and selecting (main thread).
    // Reads webcams.def and webcams1.def of the data folder into new webcams with their
    // thumbnails (nothing when webcams.def is missing), then resumes the threads the first time.
    void LoadWebcams();
    // Clear, then the data folder becomes Folder and its webcams are loaded.
    void LoadFromFolder(const std::string& Folder);
    // Called between the change of folder and the load; nothing to do here.
    void BeforeLoad() {}
    // Stops and frees every webcam and thumbnail, and empties the queues and the wait list.
    void Clear();
    // Adds a new webcam (records written, folder made, extra request lines saved as its
    // addhead.txt) and returns its index; or, when a webcam has the same picture URL, minus that
    // webcam's index and nothing is added. A name that is not a safe folder name is replaced by
    // the default "CamNNN".
    int AddWebcam(const TWebcamDefRec& Rec, const TWebcamDef1Rec& Rec2,
                  const std::optional<std::vector<std::string>>& HeaderLines);
    // The deletes rewrite the definition files and leave empty slots: the caller reloads the
    // folder (LoadFromFolder) before it uses an index again.
    void DeleteWebcam(int i);
    void DeleteWebcamByName(const std::string& Name);
    void DeleteDisabledWebcams();
    void DeleteSelectedWebcams();
    void ClearSelection();
    void SelectWebcam(int i);  // nothing for an index outside 1..Count
    int IndexOfName(const std::string& Name) const;  // exact; -1 when none
    // Blanks the thumbnail of webcam i (range-checked) and redraws its grid cell.
    void ClearThumbnail(int i);
    // Writes the webcams chosen by Mode to a list file: 2 the enabled ones, 3 the disabled
    // ones, 4 webcam Index only, 5 the selected ones, any other all. Throws std::system_error
    // when the file cannot be written.
    void SaveWebcamList(const std::string& FileName, int Mode, int Index, bool Append) const;
    // One list block of the webcam, with the lines of its addhead.txt.
    std::string WriteWebcamBlock(const twebcam& webcam) const;
    // The defaults of a new record 1 and the number of its default name.
    void InitNewWebcamRecord(TWebcamDefRec& rec) const;
    int NextFreeCamNumber() const;
    void SetListView(twebcamlistview* view) { FListView = view ? view : &FNoListView; }

    // The list itself, for loading and adding: appends a webcam at the next position (isNew:
    // writes its records), with a blank thumbnail (a bitmap is kept only once it holds a picture).
    twebcam& AppendWebcam(const TWebcamDefRec& rec, const TWebcamDef1Rec& rec2, bool isNew);
    // Webcam position's picture address changed from oldUrl (its record was replaced).
    void PictureUrlChanged(int position, std::string_view oldUrl, std::string_view newUrl);
    // Stops and frees the webcam at the 0-based position; its slots stay empty until a reload.
    // A webcam still held by a thread that waits for the main thread is freed once let go.
    void FreeWebcam(int position);
    // Keeps a stream thread that was stopped from inside one of its own calls until it ended.
    void RetireStreamThread(std::unique_ptr<tstreamworker> thread);
    // Changes whenever a webcam is freed.
    unsigned WebcamGeneration() const { return FWebcamGeneration; }
    // Cleared when destruction begins; shared, so that a call posted to the main thread, which
    // may run after the manager is gone, can look first.
    std::shared_ptr<const std::atomic<bool>> AliveFlag() const { return FAlive; }

    std::unique_ptr<tstreamworker> CreateStreamThread(twebcam& webcam);
    std::unique_ptr<twebcampicture> DecodePicture(std::string bytes) const;
    // The main window's settings changed.
    void ApplySettings(const TConfigRec& config, const TExtra1Rec& extra1) { FSettings.Assign(config, extra1); }

    // Events.
    TWebcamPictureEvent OnNewPicture;
    TWebcamPictureEvent OnStreamPicture;
    TWebcamStatusEvent OnStatusChange;

    // Webcams whose run flag is set, kept by the flags themselves.
    std::atomic<int> FRunningCount{0};
    // Fixed at construction, read by the fetch threads.
    int FThreadCount;
    int FNormalFirst;
    // Ending in '/'. Main thread only: it changes in LoadFromFolder, and each webcam keeps a
    // copy of its own.
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
    // The load's steps between the loading window's start and end.
    void AppendDefinitions(const std::vector<WebcamDefinition>& definitions);
    twebcam* Checked(int i) const;  // the webcam at i (null for an empty slot) or the range error
    void KeepPicture(int Index, twebcam& webcam, twebcampicture& picture, std::uint8_t Kind);
    // The offered thumbnail (dropped whatever its size), else one drawn by draw.
    Bitmap NewThumbnail(const std::function<void(Bitmap&)>& draw);
    template <typename Fn>
    void ForEachWebcam(Fn fn) const;
    // Frees the retired webcams and stream threads that are let go of.
    void SweepRetired();
    void ReplaceFetchThread(int Index);
    // A new scheduler, watched: one that ends unasked is replaced.
    std::unique_ptr<ttimerthread> MakeScheduler();
    // Makes FTimerThread the one the wait list wakes.
    void ConnectScheduler();
    void ReplaceScheduler();

    WebcamManagerServices FServices;
    tnolistview FNoListView;
    twebcamlistview* FListView = &FNoListView;
    twebcamlist1 FList;                               // owns nothing: the webcams are freed here
    std::vector<std::unique_ptr<Bitmap>> FThumbnails;  // parallel to FList; none while blank
    WebcamUrlIndex FUrlIndex;                          // FList's webcams by picture address
    int FDisplayedCount = 0;  // kept by the display map's changes and by appends and frees
    std::atomic<int> FThumbWidth{86};
    std::atomic<int> FThumbHeight{80};
    std::optional<Bitmap> FOfferedThumbnail;  // main thread only
    bool FThreadsStarted = false;
    std::atomic<unsigned> FWebcamGeneration{0};
    std::vector<std::unique_ptr<twebcam>> FRetiredWebcams;
    std::vector<std::unique_ptr<tstreamworker>> FRetiredStreams;
    // Guards the slots of FThreads while one is replaced, against the scheduler's wake-ups.
    mutable std::mutex FThreadsLock;
    // Cleared when destruction begins; a pending replacement then does nothing.
    std::shared_ptr<std::atomic<bool>> FAlive = std::make_shared<std::atomic<bool>>(true);
};

}  // namespace engine
