// Video encoding on FFmpeg: libavformat muxes, libavcodec encodes, libswscale converts the pixels
// and libswresample the sound to what each codec takes.
#include "runner/video/VideoEncoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <numeric>
#include <system_error>
#include <vector>

#include "platform/file/OutputFile.h"

namespace qa::runner {

using platform::OutputFile;

namespace {

std::string averrorText(int averror) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(averror, text, sizeof text);
    return text;
}

// The encoder called `codec`, or null with what to say of it in `why`.
const AVCodec* encoderFor(const char* codec, const char* name, std::string& why) {
    const AVCodec* found = avcodec_find_encoder_by_name(codec);
    if (!found) why = std::string("this FFmpeg has no ") + name + " encoder (" + codec + ")";
    return found;
}

// num / den in lowest terms, when both then fit the encoder's int fields.
bool reducedRate(std::int64_t num, std::int64_t den, int& rateNum, int& rateDen) {
    const std::int64_t g = std::gcd(num, den);
    num /= g, den /= g;
    if (num > INT32_MAX || den > INT32_MAX) return false;
    rateNum = static_cast<int>(num);
    rateDen = static_cast<int>(den);
    return true;
}

}  // namespace

// What a file extension stands for: the muxer, and the video and audio encoders in it.
struct VideoEncoder::Container {
    const char* format;
    const char* videoCodec;
    const char* videoName;
    const char* audioCodec;
    const char* audioName;
};

bool VideoEncoder::containerFor(const std::string& path, Container& out) {
    std::string ext = std::filesystem::path(path).extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".mp4") {
        out = {"mp4", "libx264", "H.264", "aac", "AAC"};
    } else if (ext == ".mkv") {
        out = {"matroska", "libx264", "H.264", "aac", "AAC"};
    } else if (ext == ".webm") {
        out = {"webm", "libvpx-vp9", "VP9", "libopus", "Opus"};
    } else {
        return false;
    }
    return true;
}

struct VideoEncoder::State {
    std::string path;                 // the name the finished file takes
    std::unique_ptr<OutputFile> out;  // the file being written, under a temporary name
    AVFormatContext* format = nullptr;
    AVCodecContext* video = nullptr;
    AVCodecContext* audio = nullptr;
    AVStream* videoStream = nullptr;
    AVStream* audioStream = nullptr;
    SwsContext* scaler = nullptr;
    SwrContext* resampler = nullptr;
    AVAudioFifo* fifo = nullptr;
    AVFrame* picture = nullptr;
    AVFrame* sound = nullptr;
    AVPacket* packet = nullptr;
    std::vector<std::uint8_t*> converted;  // the resampler's output, one pointer per plane
    int convertedCapacity = 0;             // in samples
    int width = 0;
    int height = 0;
    int audioFrameSize = 0;
    std::int64_t videoPts = 0;
    std::int64_t audioPts = 0;
    int leadIn = 0;  // samples of silence put before the sound
    bool fileOpen = false;
    bool failed = false;

    // The muxer's file is closed here; `out`, destroyed after, removes it unless it was committed.
    ~State() {
        if (!converted.empty()) av_freep(&converted[0]);
        av_packet_free(&packet);
        av_frame_free(&sound);
        av_frame_free(&picture);
        if (fifo) av_audio_fifo_free(fifo);
        swr_free(&resampler);
        sws_freeContext(scaler);
        avcodec_free_context(&audio);
        avcodec_free_context(&video);
        if (format) {
            if (fileOpen) avio_closep(&format->pb);
            avformat_free_context(format);
        }
    }
};

VideoEncoder::VideoEncoder() = default;

VideoEncoder::~VideoEncoder() {
    cleanUp();
}

std::int64_t VideoEncoder::framesWritten() const {
    return s_ ? s_->videoPts : 0;
}

bool VideoEncoder::fail(const std::string& what, int averror) {
    error_ = averror < 0 ? what + ": " + averrorText(averror) : what;
    if (s_) s_->failed = true;
    return false;
}

void VideoEncoder::cleanUp() {
    s_.reset();
}

void VideoEncoder::abort() {
    cleanUp();
}

bool VideoEncoder::open(const std::string& path, int width, int height, int rateNum, int rateDen,
                        VideoQuality quality) {
    error_.clear();
    if (s_) return fail("a video is already being written", 0);
    // The libraries' own messages only for errors: no encoder statistics among the caller's output.
    av_log_set_level(AV_LOG_ERROR);
    Container container;
    if (!containerFor(path, container)) {
        error_ = "cannot tell the kind of video from the name " + path + ": use .mp4, .mkv or .webm";
        return false;
    }
    if (width < 2 || height < 2 || width % 2 || height % 2) {
        error_ = "a video's width and height must be even, not " + std::to_string(width) + " x " +
                 std::to_string(height);
        return false;
    }
    if (rateNum <= 0 || rateDen <= 0) {
        error_ = "the frame rate must be above 0";
        return false;
    }
    const int divisor = std::gcd(rateNum, rateDen);

    s_ = std::make_unique<State>();
    State& s = *s_;
    s.path = path;
    s.width = width;
    s.height = height;
    if (!openContainer(container) || !openVideo(container, rateNum / divisor, rateDen / divisor, quality) ||
        !openAudio(container) || !makeBuffers() || !openFile()) {
        cleanUp();
        return false;
    }
    return true;
}

// The muxer for the container.
bool VideoEncoder::openContainer(const Container& container) {
    State& s = *s_;
    int err = avformat_alloc_output_context2(&s.format, nullptr, container.format, s.path.c_str());
    if (err < 0 || !s.format) {
        return fail(std::string("this FFmpeg cannot write ") + container.format + " files", err);
    }
    return true;
}

// Picture: 4:2:0 in the HD colour space, tagged so that players convert it back as it was made.
bool VideoEncoder::openVideo(const Container& container, int rateNum, int rateDen, VideoQuality quality) {
    State& s = *s_;
    const AVRational frameRate{rateNum, rateDen};
    const bool globalHeader = (s.format->oformat->flags & AVFMT_GLOBALHEADER) != 0;
    std::string why;
    const AVCodec* videoCodec = encoderFor(container.videoCodec, container.videoName, why);
    if (!videoCodec) return fail(why, 0);
    s.video = avcodec_alloc_context3(videoCodec);
    if (!s.video) return fail("out of memory", 0);
    s.video->width = s.width;
    s.video->height = s.height;
    s.video->time_base = av_inv_q(frameRate);
    s.video->framerate = frameRate;
    s.video->pix_fmt = AV_PIX_FMT_YUV420P;
    s.video->gop_size = std::clamp(static_cast<int>(av_q2d(frameRate) * 5), 1, 600);
    s.video->colorspace = AVCOL_SPC_BT709;
    s.video->color_primaries = AVCOL_PRI_BT709;
    s.video->color_trc = AVCOL_TRC_BT709;
    s.video->color_range = AVCOL_RANGE_MPEG;
    if (globalHeader) s.video->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* videoOptions = nullptr;
    const bool fast = quality == VideoQuality::Fast;
    if (std::string(container.videoCodec) == "libx264") {
        av_dict_set(&videoOptions, "preset", fast ? "veryfast" : "slow", 0);
        av_dict_set(&videoOptions, "crf", fast ? "18" : "21", 0);
    } else {
        av_dict_set(&videoOptions, "deadline", fast ? "realtime" : "good", 0);
        av_dict_set(&videoOptions, "cpu-used", fast ? "8" : "3", 0);
        av_dict_set(&videoOptions, "crf", fast ? "24" : "30", 0);
        av_dict_set(&videoOptions, "b", "0", 0);
        av_dict_set(&videoOptions, "row-mt", "1", 0);
    }
    const int err = avcodec_open2(s.video, videoCodec, &videoOptions);
    av_dict_free(&videoOptions);
    if (err < 0) return fail(std::string("the ") + container.videoName + " encoder does not start", err);
    s.videoStream = avformat_new_stream(s.format, nullptr);
    if (!s.videoStream) return fail("out of memory", 0);
    s.videoStream->time_base = s.video->time_base;
    s.videoStream->avg_frame_rate = frameRate;
    avcodec_parameters_from_context(s.videoStream->codecpar, s.video);
    return true;
}

// Sound: stereo at the codec's rate (Opus only takes 48000 Hz), in its sample format and frames.
bool VideoEncoder::openAudio(const Container& container) {
    State& s = *s_;
    const bool globalHeader = (s.format->oformat->flags & AVFMT_GLOBALHEADER) != 0;
    std::string why;
    const AVCodec* audioCodec = encoderFor(container.audioCodec, container.audioName, why);
    if (!audioCodec) return fail(why, 0);
    s.audio = avcodec_alloc_context3(audioCodec);
    if (!s.audio) return fail("out of memory", 0);
    s.audio->sample_fmt = audioCodec->sample_fmts ? audioCodec->sample_fmts[0] : AV_SAMPLE_FMT_FLTP;
    for (const AVSampleFormat* f = audioCodec->sample_fmts; f && *f != AV_SAMPLE_FMT_NONE; ++f) {
        if (*f == AV_SAMPLE_FMT_FLTP || *f == AV_SAMPLE_FMT_FLT) {
            s.audio->sample_fmt = *f;
            break;
        }
    }
    int rate = kAudioRate;
    if (audioCodec->supported_samplerates) {
        rate = audioCodec->supported_samplerates[0];
        for (const int* r = audioCodec->supported_samplerates; *r; ++r) {
            if (*r == kAudioRate) rate = kAudioRate;
        }
    }
    s.audio->sample_rate = rate;
    s.audio->time_base = AVRational{1, rate};
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    av_channel_layout_copy(&s.audio->ch_layout, &stereo);
    s.audio->bit_rate = std::string(container.audioCodec) == "aac" ? 192000 : 160000;
    if (globalHeader) s.audio->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    const int err = avcodec_open2(s.audio, audioCodec, nullptr);
    if (err < 0) return fail(std::string("the ") + container.audioName + " encoder does not start", err);
    s.audioFrameSize = s.audio->frame_size > 0 ? s.audio->frame_size : 1024;
    // The encoder's delay ahead of the first sound sample (1024 samples for AAC, 312 for Opus):
    // MP4 records it in an edit list. WebM records it as the track's codec delay, which players
    // take off every block's time: the sound's times start that much later, so that its first
    // sample plays with the first frame. Matroska records none for AAC and counts time in whole
    // milliseconds; a little silence before the sound makes the delay a whole number of them, so
    // that after the streams are shifted to start at 0 the first sample and the first frame
    // still share one instant exactly.
    const int delay = std::max(s.audio->initial_padding, 0);
    if (std::string(container.format) == "matroska") {
        const int unit = rate / std::gcd(rate, 1000);  // samples in the shortest whole-ms span
        s.leadIn = (delay + unit - 1) / unit * unit - delay;
        s.audioPts = -s.leadIn;
    } else if (std::string(container.format) == "webm") {
        s.audioPts = delay;
    }
    s.audioStream = avformat_new_stream(s.format, nullptr);
    if (!s.audioStream) return fail("out of memory", 0);
    s.audioStream->time_base = s.audio->time_base;
    avcodec_parameters_from_context(s.audioStream->codecpar, s.audio);
    return true;
}

// The converters to the encoders' formats, the frames they fill and the packet they give.
bool VideoEncoder::makeBuffers() {
    State& s = *s_;
    const int rate = s.audio->sample_rate;
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    int err = swr_alloc_set_opts2(&s.resampler, &s.audio->ch_layout, s.audio->sample_fmt, rate, &stereo,
                                  AV_SAMPLE_FMT_FLT, kAudioRate, 0, nullptr);
    if (err < 0 || (err = swr_init(s.resampler)) < 0) {
        return fail("the sound cannot be converted for the encoder", err);
    }
    s.fifo = av_audio_fifo_alloc(s.audio->sample_fmt, 2, s.audioFrameSize * 4);
    s.scaler = sws_getContext(s.width, s.height, AV_PIX_FMT_RGB32, s.width, s.height, AV_PIX_FMT_YUV420P,
                              SWS_BICUBIC | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
    if (s.scaler) {
        sws_setColorspaceDetails(s.scaler, sws_getCoefficients(SWS_CS_DEFAULT), 1,
                                 sws_getCoefficients(SWS_CS_ITU709), 0, 0, 1 << 16, 1 << 16);
    }
    s.picture = av_frame_alloc();
    s.sound = av_frame_alloc();
    s.packet = av_packet_alloc();
    if (!s.fifo || !s.scaler || !s.picture || !s.sound || !s.packet) return fail("out of memory", 0);
    s.picture->format = AV_PIX_FMT_YUV420P;
    s.picture->width = s.width;
    s.picture->height = s.height;
    s.sound->format = s.audio->sample_fmt;
    av_channel_layout_copy(&s.sound->ch_layout, &s.audio->ch_layout);
    s.sound->sample_rate = rate;
    s.sound->nb_samples = s.audioFrameSize;
    if ((err = av_frame_get_buffer(s.picture, 0)) < 0 || (err = av_frame_get_buffer(s.sound, 0)) < 0) {
        return fail("out of memory", err);
    }
    return true;
}

// The file, under its temporary name, with the container's header written.
bool VideoEncoder::openFile() {
    State& s = *s_;
    std::string refused;
    s.out = OutputFile::create(s.path, refused);
    if (!s.out) return fail(refused, 0);
    int err = avio_open(&s.format->pb, s.out->temporaryPath().c_str(), AVIO_FLAG_WRITE);
    if (err < 0) return fail("cannot write " + s.path, err);
    s.fileOpen = true;
    err = avformat_write_header(s.format, nullptr);
    if (err < 0) return fail("cannot write " + s.path, err);
    if (s.leadIn > 0) {
        std::vector<std::uint8_t*> planes(2, nullptr);
        if (av_samples_alloc(planes.data(), nullptr, 2, s.leadIn, s.audio->sample_fmt, 0) < 0) {
            return fail("out of memory", 0);
        }
        av_samples_set_silence(planes.data(), 0, s.leadIn, 2, s.audio->sample_fmt);
        av_audio_fifo_write(s.fifo, reinterpret_cast<void**>(planes.data()), s.leadIn);
        av_freep(&planes[0]);
    }
    return true;
}

bool VideoEncoder::drain(bool video) {
    State& s = *s_;
    AVCodecContext* codec = video ? s.video : s.audio;
    AVStream* stream = video ? s.videoStream : s.audioStream;
    for (;;) {
        int err = avcodec_receive_packet(codec, s.packet);
        if (err == AVERROR(EAGAIN) || err == AVERROR_EOF) return true;
        if (err < 0) return fail(video ? "the video encoder failed" : "the sound encoder failed", err);
        av_packet_rescale_ts(s.packet, codec->time_base, stream->time_base);
        s.packet->stream_index = stream->index;
        err = av_interleaved_write_frame(s.format, s.packet);
        if (err < 0 || (s.format->pb && s.format->pb->error < 0)) {
            return fail("cannot write " + s.path, err < 0 ? err : s.format->pb->error);
        }
    }
}

bool VideoEncoder::addFrame(const std::uint32_t* argb) {
    if (!s_ || s_->failed) return false;
    State& s = *s_;
    int err = av_frame_make_writable(s.picture);
    if (err < 0) return fail("out of memory", err);
    const std::uint8_t* planes[1] = {reinterpret_cast<const std::uint8_t*>(argb)};
    const int strides[1] = {s.width * 4};
    sws_scale(s.scaler, planes, strides, 0, s.height, s.picture->data, s.picture->linesize);
    s.picture->pts = s.videoPts++;
    err = avcodec_send_frame(s.video, s.picture);
    if (err < 0) return fail("the video encoder failed", err);
    return drain(true);
}

bool VideoEncoder::encodeAudio(bool flush) {
    State& s = *s_;
    // Whole codec frames while there are enough samples; at the end the rest, as a short last
    // frame where the codec takes one and padded with silence where it does not.
    while (av_audio_fifo_size(s.fifo) >= s.audioFrameSize || (flush && av_audio_fifo_size(s.fifo) > 0)) {
        const int n = std::min(av_audio_fifo_size(s.fifo), s.audioFrameSize);
        int err = av_frame_make_writable(s.sound);
        if (err < 0) return fail("out of memory", err);
        s.sound->nb_samples = s.audioFrameSize;
        av_audio_fifo_read(s.fifo, reinterpret_cast<void**>(s.sound->data), n);
        if (n < s.audioFrameSize) {
            if (s.audio->codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME) {
                s.sound->nb_samples = n;
            } else {
                av_samples_set_silence(s.sound->data, n, s.audioFrameSize - n, 2, s.audio->sample_fmt);
            }
        }
        s.sound->pts = s.audioPts;
        s.audioPts += s.sound->nb_samples;
        err = avcodec_send_frame(s.audio, s.sound);
        if (err < 0) return fail("the sound encoder failed", err);
        if (!drain(false)) return false;
    }
    return true;
}

bool VideoEncoder::addAudio(const float* interleaved, std::size_t frames) {
    if (!s_ || s_->failed) return false;
    State& s = *s_;
    std::size_t done = 0;
    do {
        // In pieces, so the conversion buffer stays small whatever the caller hands over at once.
        const int n = static_cast<int>(std::min<std::size_t>(frames - done, 8192));
        const int room = swr_get_out_samples(s.resampler, n);
        if (room > s.convertedCapacity) {
            if (!s.converted.empty()) av_freep(&s.converted[0]);
            s.converted.assign(2, nullptr);
            int err = av_samples_alloc(s.converted.data(), nullptr, 2, room, s.audio->sample_fmt, 0);
            if (err < 0) {
                s.converted.clear();
                s.convertedCapacity = 0;
                return fail("out of memory", err);
            }
            s.convertedCapacity = room;
        }
        const auto* in = reinterpret_cast<const std::uint8_t*>(interleaved + done * 2);
        const int got =
            swr_convert(s.resampler, s.converted.data(), s.convertedCapacity, n > 0 ? &in : nullptr, n);
        if (got < 0) return fail("the sound cannot be converted for the encoder", got);
        if (got > 0 && av_audio_fifo_write(s.fifo, reinterpret_cast<void**>(s.converted.data()), got) < got)
            return fail("out of memory", 0);
        done += static_cast<std::size_t>(n);
    } while (done < frames);
    return encodeAudio(false);
}

bool VideoEncoder::finish() {
    if (!s_) return fail("no video is being written", 0);
    State& s = *s_;
    bool ok = !s.failed;
    if (ok) {
        // What the resampler still holds, then the encoders' own delay.
        for (;;) {
            const int room = s.convertedCapacity;
            if (room <= 0) break;
            const int got = swr_convert(s.resampler, s.converted.data(), room, nullptr, 0);
            if (got <= 0) break;
            av_audio_fifo_write(s.fifo, reinterpret_cast<void**>(s.converted.data()), got);
        }
        ok = encodeAudio(true);
    }
    if (ok) {
        int err = avcodec_send_frame(s.video, nullptr);
        ok = err >= 0 ? drain(true) : fail("the video encoder failed", err);
    }
    if (ok) {
        int err = avcodec_send_frame(s.audio, nullptr);
        ok = err >= 0 ? drain(false) : fail("the sound encoder failed", err);
    }
    if (ok) {
        int err = av_write_trailer(s.format);
        if (err < 0 || s.format->pb->error < 0)
            ok = fail("cannot write " + s.path, err < 0 ? err : s.format->pb->error);
    }
    if (ok) {
        int err = avio_closep(&s.format->pb);
        s.fileOpen = false;
        if (err < 0) ok = fail("cannot write " + s.path, err);
    }
    std::string error;
    if (!ok) {
        s_.reset();
        return false;
    }
    if (!s.out->commit(error)) {
        error_ = error;
        s_.reset();
        return false;
    }
    s_.reset();
    return true;
}

bool VideoEncoder::frameRateFromMs(const std::string& ms, int& rateNum, int& rateDen) {
    // ms = digits / 10^decimals; frames per second = 1000 x 10^decimals / digits.
    std::int64_t digits = 0, scale = 1;
    bool point = false, any = false;
    for (char c : ms) {
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (c < '0' || c > '9') return false;
        any = true;
        digits = digits * 10 + (c - '0');
        if (point) scale *= 10;
        if (digits > 1'000'000'000 || scale > 1'000'000) return false;
    }
    if (!any || digits == 0) return false;
    return reducedRate(1000 * scale, digits, rateNum, rateDen);
}

bool VideoEncoder::frameRateFromFps(const std::string& fps, int& rateNum, int& rateDen) {
    // digits / scale, or num / den.
    auto whole = [](const std::string& text, std::int64_t& out) {
        out = 0;
        if (text.empty() || text.size() > 10) return false;
        for (char c : text) {
            if (c < '0' || c > '9') return false;
            out = out * 10 + (c - '0');
        }
        return true;
    };
    std::int64_t num = 0, den = 1;
    if (const std::size_t slash = fps.find('/'); slash != std::string::npos) {
        if (!whole(fps.substr(0, slash), num) || !whole(fps.substr(slash + 1), den)) return false;
    } else {
        const std::size_t point = fps.find('.');
        std::string digits = fps;
        if (point != std::string::npos) digits.erase(point, 1);
        const std::size_t decimals = point == std::string::npos ? 0 : fps.size() - point - 1;
        if (digits.empty() || decimals > 6 || (point != std::string::npos && decimals == 0)) return false;
        if (!whole(digits, num)) return false;
        for (std::size_t i = 0; i < decimals; ++i) den *= 10;
        if (decimals > 0) {
            // The television rate: whole / 1.001 rounded to the decimals given, half away from zero.
            const std::int64_t rate = (num * 1001 + den * 500) / (den * 1000);
            const std::int64_t shown = (rate * 1000 * den * 2 + 1001) / (1001 * 2);
            if (rate > 0 && shown == num) num = rate * 1000, den = 1001;
        }
    }
    if (num <= 0 || den <= 0) return false;
    return reducedRate(num, den, rateNum, rateDen);
}

}  // namespace qa::runner
