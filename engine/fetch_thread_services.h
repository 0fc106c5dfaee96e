#pragma once
// How the main window plugs the fetch and stream threads into its webcam manager: the worker
// factories, the new-picture steps that save still pictures and stream frames, and the JPEG
// decoder.

#include "engine/fetch_thread.h"
#include "engine/motion_settings.h"
#include "engine/settings_records.h"
#include "engine/webcam_manager.h"

#include <functional>
#include <memory>

namespace engine {

// Makes treadthread workers that share the settings.
FetchWorkerFactory FetchThreadFactory(std::shared_ptr<const FetchThreadSettings> settings);

// The still-picture step: refuses bytes that are not a whole JPEG picture, else saves and reports
// the picture by the main window's DISKMAN record; keepMotion gets the settings of a motion test
// that ran. diskman must outlive the manager.
NewPictureStep StillPictureStep(const TDiskManRec& diskman,
                                std::function<void(const TMotionSettingsRec&)> keepMotion = {});

// Makes tstreamthread workers that share the settings: their newFrame step (StreamPictureStep),
// error log, User-Agent and inactivity limit.
StreamWorkerFactory StreamThreadFactory(std::shared_ptr<const FetchThreadSettings> settings);

// The stream-frame step: skips (and answers false for) bytes whose JPEG header does not read,
// else saves and reports the frame by the main window's DISKMAN record; keepMotion gets the settings of a motion test
// that ran. diskman must outlive the manager.
StreamFrameStep StreamPictureStep(const TDiskManRec& diskman,
                                  std::function<void(const TMotionSettingsRec&)> keepMotion = {});

// The manager's services with treadthread workers and the JPEG decoder; the stream workers come
// from their own maker.
WebcamManagerServices FetchThreadServices(std::shared_ptr<const FetchThreadSettings> settings,
                                          StreamWorkerFactory streamWorkers = {});

}  // namespace engine
