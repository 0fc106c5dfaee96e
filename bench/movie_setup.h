#pragma once
// The answers a person gives the AVI export in the benchmarks: the movie's file name and the
// compressor, with the export's own texts.

#include <string>
#include <vector>

#include "media/movie_maker.h"

namespace bench {

inline media::MovieMakerSetup ScriptedMovieSetup(std::string movie, media::FourCC compressor) {
    media::MovieMakerSetup setup;
    setup.ChooseFileName = [movie = std::move(movie)](std::string& name) {
        name = movie;
        return true;
    };
    setup.ChooseCompression = [compressor](std::vector<media::AVICompressOptions>& options, unsigned) {
        for (media::AVICompressOptions& o : options) o.fccHandler = compressor;
        return true;
    };
    setup.Texts = {"Enregistrement de l'image", "de", "Prêt"};
    return setup;
}

}  // namespace bench
