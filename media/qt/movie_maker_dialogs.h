#pragma once
// The movie maker with its dialogs: the AVI save dialog for the file name and the compression
// options dialog, over the caller's frame picture.

#include <QImage>
#include <functional>

#include "media/movie_maker.h"

class QWidget;

namespace media {

// Draws frame Index (0-based) into Frame, the caller's picture reused for every frame.
using TMovieDrawFrame = std::function<void(int index, QImage& frame)>;

// The movie maker's choices through its dialogs: the save dialog ("Microsoft AVI Files|*.AVI",
// asking before it overwrites) and the compression options dialog, both over Parent.
MovieMakerSetup DialogMovieSetup(QWidget* parent, const MovieTexts& texts);

// Asks for the file (the save dialog, "Microsoft AVI Files|*.AVI", asking before it overwrites),
// lets the user choose the compressor, then writes Count frames of Bitmap at FrameRate frames a
// second; Parent is the dialogs' parent. Results and failures as the movie maker's.
bool MakeAVIFromFrames(QWidget* parent, int count, const TMovieDrawFrame& get_frame, const TMovieProgress& progress,
                       int frame_rate, QImage& bitmap, const MovieTexts& texts);

}  // namespace media
