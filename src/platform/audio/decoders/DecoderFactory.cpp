// Choosing a decoder by content.
#include "platform/audio/decoders/DecoderFactory.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/audio/SoundLibrary.h"
#include "platform/audio/decoders/Mpg123Decoder.h"
#include "platform/audio/decoders/SharedStreamView.h"
#include "platform/audio/decoders/SndfileDecoder.h"
#include "platform/audio/decoders/VorbisDecoder.h"
#include "platform/file/FolderSource.h"
#include "platform/file/MemoryStream.h"

namespace qa::platform::audio {

namespace {

using Opener = std::unique_ptr<Decoder> (*)(std::unique_ptr<InputStream>);

bool startsWith(const unsigned char* head, std::size_t size, const char* magic) {
    const std::size_t n = std::strlen(magic);
    return size >= n && std::memcmp(head, magic, n) == 0;
}

bool looksLikeMpeg(const unsigned char* h, std::size_t n) {
    return startsWith(h, n, "ID3") || (n >= 2 && h[0] == 0xFF && (h[1] & 0xE0) == 0xE0);
}

// The containers libsndfile reads (WAV, RF64, Wave64, AIFF, FLAC, AU, CAF; Ogg below).
bool looksLikeSndfile(const unsigned char* h, std::size_t n) {
    for (const char* magic : {"RIFF", "RIFX", "RF64", "riff", "FORM", "fLaC", ".snd", "caff"})
        if (startsWith(h, n, magic)) return true;
    return false;
}

// An Ogg file whose first packet opens an Opus or FLAC stream: the Ogg codecs libsndfile is asked
// about. Vorbis is the Vorbis decoder's alone, and an Ogg file that is neither goes to nobody else:
// libsndfile's own Vorbis reader leaks its codec set-up on damaged pages.
bool oggForSndfile(const unsigned char* h, std::size_t n) {
    if (!startsWith(h, n, "OggS") || n < 27) return false;
    const std::size_t packet = 27 + static_cast<std::size_t>(h[26]);  // after the segment table
    return packet < n && (startsWith(h + packet, n - packet, "OpusHead") || startsWith(h + packet, n - packet,
                                                                                       "\x7F"
                                                                                       "FLAC"));
}

}  // namespace

std::unique_ptr<Decoder> DecoderFactory::open(const std::string& windowsPath, int& error) {
    file::FolderSource folder;
    return open(folder, windowsPath, error);
}

std::unique_ptr<Decoder> DecoderFactory::open(FileSource& files, const std::string& windowsPath, int& error) {
    return openFrom(files, windowsPath, error, 0);
}

bool DecoderFactory::probe(FileSource& files, const std::string& windowsPath, int& error) {
    return openFrom(files, windowsPath, error, kProbeBytes) != nullptr;
}

std::unique_ptr<Decoder> DecoderFactory::openFrom(FileSource& files, const std::string& windowsPath,
                                                  int& error, std::size_t only) {
    if (!files.exists(windowsPath)) {
        error = kErrFileNotFound;
        return nullptr;
    }
    // The file is opened once; its first bytes choose the order, and each decoder tried reads it
    // from its start.
    std::shared_ptr<InputStream> file = files.open(windowsPath);
    if (!file) {  // a folder, a named pipe, a device, or unreadable
        error = kErrFileLoad;
        return nullptr;
    }
    unsigned char head[512] = {};
    const std::size_t headSize = file->read(head, sizeof head);
    // Looking only at its start: every decoder reads the same first bytes from memory.
    auto start = std::make_shared<std::string>();
    if (only > 0) {
        start->assign(reinterpret_cast<const char*>(head), headSize);
        start->resize(std::max(only, headSize));
        start->resize(headSize + file->read(start->data() + headSize, start->size() - headSize));
    }

    // Each decoder in turn, the one whose signature the file starts with first. MPEG audio has no
    // reliable signature of its own and its decoder resynchronises on almost any data, so it comes
    // last otherwise. libsndfile is only asked about its own containers: on anything else it probes
    // for MPEG audio itself, noisily.
    std::vector<Opener> order;
    if (looksLikeMpeg(head, headSize)) order.push_back(&Mpg123Decoder::open);
    if (startsWith(head, headSize, "OggS")) order.push_back(&VorbisDecoder::open);
    if (looksLikeSndfile(head, headSize) || oggForSndfile(head, headSize))
        order.push_back(&SndfileDecoder::open);
    for (Opener o : {&VorbisDecoder::open, &Mpg123Decoder::open})
        if (std::find(order.begin(), order.end(), o) == order.end()) order.push_back(o);
    for (Opener opener : order) {
        if (only > 0) {
            if (std::unique_ptr<Decoder> d = opener(std::make_unique<MemoryStream>(start))) return d;
            continue;
        }
        if (file->seek(0, SEEK_SET) != 0) break;
        if (std::unique_ptr<Decoder> d = opener(std::make_unique<SharedStreamView>(file))) return d;
    }
    error = kErrFileFormat;
    return nullptr;
}

}  // namespace qa::platform::audio
