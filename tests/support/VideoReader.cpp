// Video decoding for tests: demux, decode, convert pixels back to RGB and sound to 44100 Hz floats.
#include "support/VideoReader.h"

#include <cmath>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <memory>

namespace qa::test {

namespace {

struct Decoding {
    AVFormatContext* format = nullptr;
    AVCodecContext* video = nullptr;
    AVCodecContext* audio = nullptr;
    SwsContext* scaler = nullptr;
    SwrContext* resampler = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    ~Decoding() {
        av_packet_free(&packet);
        av_frame_free(&frame);
        swr_free(&resampler);
        sws_freeContext(scaler);
        avcodec_free_context(&audio);
        avcodec_free_context(&video);
        avformat_close_input(&format);
    }
};

AVCodecContext* openDecoder(AVStream* stream) {
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec) return nullptr;
    AVCodecContext* c = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(c, stream->codecpar);
    c->pkt_timebase = stream->time_base;
    if (avcodec_open2(c, codec, nullptr) < 0) avcodec_free_context(&c);
    return c;
}

}  // namespace

bool VideoReader::read(const std::string& path, const std::vector<int>& keep, std::string& error) {
    Decoding d;
    if (avformat_open_input(&d.format, path.c_str(), nullptr, nullptr) < 0 ||
        avformat_find_stream_info(d.format, nullptr) < 0) {
        error = "cannot open " + path;
        return false;
    }
    formatName = d.format->iformat->name;
    const int vi = av_find_best_stream(d.format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    const int ai = av_find_best_stream(d.format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (vi < 0 || ai < 0) {
        error = "a stream is missing";
        return false;
    }
    AVStream* vs = d.format->streams[vi];
    AVStream* as = d.format->streams[ai];
    d.video = openDecoder(vs);
    d.audio = openDecoder(as);
    if (!d.video || !d.audio) {
        error = "no decoder";
        return false;
    }
    videoCodec = avcodec_get_name(vs->codecpar->codec_id);
    audioCodec = avcodec_get_name(as->codecpar->codec_id);
    width = d.video->width;
    height = d.video->height;
    // The rate the container declares, in lowest terms.
    av_reduce(&rateNum, &rateDen, vs->avg_frame_rate.num, vs->avg_frame_rate.den, INT32_MAX);
    av_reduce(&baseRateNum, &baseRateDen, vs->r_frame_rate.num, vs->r_frame_rate.den, INT32_MAX);
    soundRate = d.audio->sample_rate;
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    if (swr_alloc_set_opts2(&d.resampler, &stereo, AV_SAMPLE_FMT_FLT, 44100, &d.audio->ch_layout,
                            d.audio->sample_fmt, d.audio->sample_rate, 0, nullptr) < 0 ||
        swr_init(d.resampler) < 0) {
        error = "no resampler";
        return false;
    }
    d.frame = av_frame_alloc();
    d.packet = av_packet_alloc();

    auto takeVideo = [&](AVFrame* f) {
        const int index = static_cast<int>(frameTimes.size());
        const double t = static_cast<double>(f->best_effort_timestamp) * av_q2d(vs->time_base);
        frameTimes.push_back(t);
        lastFrameEnd = t + static_cast<double>(f->pkt_duration) * av_q2d(vs->time_base);
        if (std::find(keep.begin(), keep.end(), index) == keep.end()) return;
        if (!d.scaler) {
            d.scaler = sws_getContext(f->width, f->height, static_cast<AVPixelFormat>(f->format), f->width,
                                      f->height, AV_PIX_FMT_RGB32, SWS_BICUBIC | SWS_ACCURATE_RND, nullptr,
                                      nullptr, nullptr);
            const int space = f->colorspace == AVCOL_SPC_BT709 ? SWS_CS_ITU709 : SWS_CS_DEFAULT;
            sws_setColorspaceDetails(d.scaler, sws_getCoefficients(space), f->color_range == AVCOL_RANGE_JPEG,
                                     sws_getCoefficients(SWS_CS_DEFAULT), 1, 0, 1 << 16, 1 << 16);
        }
        std::vector<std::uint32_t>& out = frames[index];
        out.assign(static_cast<std::size_t>(f->width) * f->height, 0);
        std::uint8_t* planes[1] = {reinterpret_cast<std::uint8_t*>(out.data())};
        const int strides[1] = {f->width * 4};
        sws_scale(d.scaler, f->data, f->linesize, 0, f->height, planes, strides);
    };
    // The time of the first decoded sample (the decoder moves a frame's time past the samples it
    // drops at the start).
    bool anySound = false;
    auto takeAudio = [&](AVFrame* f) {
        const std::int64_t t = f->pts != AV_NOPTS_VALUE ? f->pts : f->best_effort_timestamp;
        if (!anySound && t != AV_NOPTS_VALUE) {
            soundStart = static_cast<double>(t) * av_q2d(as->time_base);
            anySound = true;
        }
        const int room = swr_get_out_samples(d.resampler, f->nb_samples);
        const std::size_t at = sound.size();
        sound.resize(at + static_cast<std::size_t>(room) * 2);
        std::uint8_t* out[1] = {reinterpret_cast<std::uint8_t*>(sound.data() + at)};
        const int got = swr_convert(d.resampler, out, room,
                                    const_cast<const std::uint8_t**>(f->extended_data), f->nb_samples);
        sound.resize(at + static_cast<std::size_t>(std::max(got, 0)) * 2);
    };
    auto receive = [&](AVCodecContext* c, bool isVideo) {
        while (avcodec_receive_frame(c, d.frame) >= 0) {
            if (isVideo) {
                takeVideo(d.frame);
            } else {
                takeAudio(d.frame);
            }
            av_frame_unref(d.frame);
        }
    };
    while (av_read_frame(d.format, d.packet) >= 0) {
        if (d.packet->stream_index == vi) {
            avcodec_send_packet(d.video, d.packet);
            receive(d.video, true);
        } else if (d.packet->stream_index == ai) {
            avcodec_send_packet(d.audio, d.packet);
            receive(d.audio, false);
        }
        av_packet_unref(d.packet);
    }
    avcodec_send_packet(d.video, nullptr);
    receive(d.video, true);
    avcodec_send_packet(d.audio, nullptr);
    receive(d.audio, false);
    // What the resampler still holds.
    for (;;) {
        const std::size_t at = sound.size();
        sound.resize(at + 4096 * 2);
        std::uint8_t* out[1] = {reinterpret_cast<std::uint8_t*>(sound.data() + at)};
        const int got = swr_convert(d.resampler, out, 4096, nullptr, 0);
        sound.resize(at + static_cast<std::size_t>(std::max(got, 0)) * 2);
        if (got <= 0) break;
    }
    return true;
}

double VideoReader::psnr(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
    if (a.size() != b.size() || a.empty()) return 0;
    double sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        for (int shift : {0, 8, 16}) {
            const double d =
                static_cast<double>((a[i] >> shift) & 0xFF) - static_cast<double>((b[i] >> shift) & 0xFF);
            sum += d * d;
        }
    }
    const double mse = sum / (static_cast<double>(a.size()) * 3);
    return mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
}

}  // namespace qa::test
