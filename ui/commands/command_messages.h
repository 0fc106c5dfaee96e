#pragma once
// The message-table texts the commands on webcams show, by number (ui::Message gives the text).

namespace ui {

inline constexpr int kMsgNoWebcamSelected = 65257;  // "Il n'y a pas de webcam(s) sélectionnée(s)"
inline constexpr int kMsgNothingToStop = 65233;
inline constexpr int kMsgNothingToStart = 65206;
inline constexpr int kMsgAddFromList = 65244;       // question: none in the folder, add from a list?
inline constexpr int kMsgNothingToDelete = 65229;
inline constexpr int kMsgStopBeforeAdding = 65237;
inline constexpr int kMsgAlreadyPresent = 65238;
inline constexpr int kMsgCannotRename = 65245;      // ends in a blank and a double quote
inline constexpr int kMsgFolderExists = 65246;
inline constexpr int kMsgStopBeforeDeleteOne = 65247;
inline constexpr int kMsgStopBeforeDeleteSeveral = 65230;
inline constexpr int kMsgSureToDelete = 65216;      // + name + " ?"
inline constexpr int kMsgDeleteItsPictures = 65217;
inline constexpr int kMsgDeleteTheirPictures = 65200;
inline constexpr int kMsgProblem = 65218;           // + folder + 65219
inline constexpr int kMsgRemoveByHand = 65219;
inline constexpr int kMsgDeleteSelected = 65207;
inline constexpr int kMsgDeleteDisabled = 65231;
inline constexpr int kMsgDeleteAll = 65201;
inline constexpr int kMsgCannotAddToSaverList = 65205;
inline constexpr int kMsgClearFavourites = 65213;
inline constexpr int kMsgNotInSelection = 65224;
inline constexpr int kMsgInvalidLink = 65258;
inline constexpr int kMsgFileError = 65177;         // + file name
inline constexpr int kMsgTheFile = 65286;           // "Le fichier" + name + 65304
inline constexpr int kMsgDoesNotExist = 65304;

}  // namespace ui
