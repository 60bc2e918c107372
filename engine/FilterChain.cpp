#include "FilterChain.h"

#include "EngineError.h"
#include "EngineLog.h"

#include <QByteArrayList>

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/channel_layout.h>
#include <libavutil/pixdesc.h>
}

namespace engine {
namespace {

QByteArray rational(AVRational r) {
    return QByteArray::number(r.num) + '/' + QByteArray::number(r.den);
}

// A graph "source -> description -> sink", configured. Throws EngineError (stage Filter).
FilterGraphPtr buildGraph(const char* sourceName, const QByteArray& sourceArgs,
                          const char* sinkName, const QByteArray& description, int threads,
                          const QString& fileName, AVFilterContext** source, AVFilterContext** sink,
                          const std::function<void(AVFilterContext*)>& configureSink = {}) {
    FilterGraphPtr graph(avfilter_graph_alloc());
    if (!graph)
        throw EngineError(Stage::Filter, QStringLiteral("内存不足"), fileName, AVERROR(ENOMEM));
    graph->nb_threads = threads;
    int ret = avfilter_graph_create_filter(source, avfilter_get_by_name(sourceName), "in",
                                           sourceArgs.constData(), nullptr, graph.get());
    if (ret < 0)
        throw EngineError(
            Stage::Filter,
            QStringLiteral("无法建立滤镜输入（%1）").arg(QString::fromUtf8(sourceArgs)), fileName,
            ret);
    ret = avfilter_graph_create_filter(sink, avfilter_get_by_name(sinkName), "out", nullptr,
                                       nullptr, graph.get());
    if (ret < 0)
        throw EngineError(Stage::Filter, QStringLiteral("无法建立滤镜输出"), fileName, ret);

    // The description's open input is fed by the source, its open output feeds the sink.
    AVFilterInOut* outputs = avfilter_inout_alloc();
    AVFilterInOut* inputs = avfilter_inout_alloc();
    if (!outputs || !inputs) {
        avfilter_inout_free(&outputs);
        avfilter_inout_free(&inputs);
        throw EngineError(Stage::Filter, QStringLiteral("内存不足"), fileName, AVERROR(ENOMEM));
    }
    outputs->name = av_strdup("in");
    outputs->filter_ctx = *source;
    outputs->pad_idx = 0;
    outputs->next = nullptr;
    inputs->name = av_strdup("out");
    inputs->filter_ctx = *sink;
    inputs->pad_idx = 0;
    inputs->next = nullptr;
    ret =
        avfilter_graph_parse_ptr(graph.get(), description.constData(), &inputs, &outputs, nullptr);
    avfilter_inout_free(&inputs);
    avfilter_inout_free(&outputs);
    if (ret < 0)
        throw EngineError(Stage::Filter,
                          QStringLiteral("滤镜“%1”无法使用").arg(QString::fromUtf8(description)),
                          fileName, ret);
    ret = avfilter_graph_config(graph.get(), nullptr);
    if (ret < 0)
        throw EngineError(Stage::Filter,
                          QStringLiteral("滤镜“%1”无法配置").arg(QString::fromUtf8(description)),
                          fileName, ret);
    // The sink's link exists only now.
    if (configureSink)
        configureSink(*sink);
    return graph;
}

} // namespace

QByteArray layoutText(const AVChannelLayout& layout) {
    AVChannelLayout ordered{};
    if (layout.order == AV_CHANNEL_ORDER_UNSPEC || layout.nb_channels <= 0)
        av_channel_layout_default(&ordered, layout.nb_channels > 0 ? layout.nb_channels : 2);
    else
        av_channel_layout_copy(&ordered, &layout);
    char buf[128] = {};
    av_channel_layout_describe(&ordered, buf, sizeof buf);
    av_channel_layout_uninit(&ordered);
    return QByteArray(buf);
}

FilterChain::FilterChain(AVRational inputTimeBase, int threads, const QString& fileName)
    : inputTimeBase_(inputTimeBase), fileName_(fileName), threads_(threads), out_(makeFrame()) {}

void FilterChain::build() {
    const QByteArray desc = description(graphsBuilt_ == 0);
    graph_ = buildGraph(sourceFilter(), sourceArgs(), sinkFilter(), desc, threads_, fileName_,
                        &source_, &sink_, [this](AVFilterContext* s) { configureSink(s); });
    ++graphsBuilt_;
}

void FilterChain::finish(int64_t endPts, const FrameSink& sink) {
    if (!graph_)
        return;
    const int ret = endPts == AV_NOPTS_VALUE ? av_buffersrc_add_frame_flags(source_, nullptr, 0)
                                             : av_buffersrc_close(source_, endPts, 0);
    if (ret < 0)
        throw EngineError(Stage::Filter, QStringLiteral("滤镜无法结束"), fileName_, ret);
    pull(sink);
}

void FilterChain::push(AVFrame* frame, const FrameSink& sink) {
    if (!graph_ || !sameInput(frame)) {
        if (graph_) {
            enginelog::write(llInfo,
                             QStringLiteral("“%1”的流参数在中途改变，重建滤镜").arg(fileName_));
            if (drainOnRebuild() && av_buffersrc_add_frame_flags(source_, nullptr, 0) >= 0)
                pull(sink);
        }
        rememberInput(frame);
        build();
    }
    const int ret = av_buffersrc_add_frame_flags(source_, frame, AV_BUFFERSRC_FLAG_KEEP_REF);
    if (ret < 0)
        throw EngineError(Stage::Filter, QStringLiteral("滤镜不接受解码后的画面或声音"), fileName_,
                          ret);
    pull(sink);
}

void FilterChain::pull(const FrameSink& sink) {
    const AVRational tb = av_buffersink_get_time_base(sink_);
    for (;;) {
        const int ret = av_buffersink_get_frame(sink_, out_.get());
        if (ret == AVERROR(EAGAIN) || ret == AVERROR_EOF)
            return;
        if (ret < 0)
            throw EngineError(Stage::Filter, QStringLiteral("滤镜处理出错"), fileName_, ret);
        sink(out_.get(), tb);
        av_frame_unref(out_.get());
    }
}

// ---- video

VideoFilterChain::VideoFilterChain(const VideoTarget& target, AVRational inputTimeBase, int threads,
                                   const QString& fileName)
    : FilterChain(inputTimeBase, threads, fileName), target_(target) {}

bool VideoFilterChain::sameInput(const AVFrame* f) const {
    return f->width == width_ && f->height == height_ && f->format == format_;
}

void VideoFilterChain::rememberInput(const AVFrame* f) {
    width_ = f->width;
    height_ = f->height;
    format_ = f->format;
    sar_ = f->sample_aspect_ratio.num > 0 ? f->sample_aspect_ratio : AVRational{1, 1};
}

QByteArray VideoFilterChain::sourceArgs() const {
    return "video_size=" + QByteArray::number(width_) + 'x' + QByteArray::number(height_) +
           ":pix_fmt=" + QByteArray::number(format_) + ":time_base=" + rational(inputTimeBase_) +
           ":pixel_aspect=" + rational(sar_) + ":frame_rate=" + rational(target_.sourceFrameRate);
}

QByteArray VideoFilterChain::description(bool firstGraph) const {
    QByteArrayList parts;
    if (!target_.userFilters.isEmpty())
        parts << target_.userFilters.toUtf8();
    // From the first graph on, the output's clock starts at zero (missing frames at the start
    // repeat the first picture).
    QByteArray fps = "fps=fps=" + rational(target_.frameRate);
    if (firstGraph)
        fps += ":start_time=0";
    const QByteArray scale =
        "scale=" + QByteArray::number(target_.width) + ':' + QByteArray::number(target_.height);
    // Dropping frames before scaling saves work; repeating them after scaling does.
    const bool fewerFrames = av_q2d(target_.frameRate) < av_q2d(target_.sourceFrameRate);
    if (fewerFrames)
        parts << fps << scale;
    else
        parts << scale << fps;
    parts << "setsar=sar=" + rational(target_.sampleAspect) + ":max=100000";
    parts << QByteArray("format=pix_fmts=") + av_get_pix_fmt_name(target_.format);
    return parts.join(',');
}

// ---- audio

AudioFilterChain::AudioFilterChain(const AudioTarget& target, AVRational inputTimeBase, int threads,
                                   const QString& fileName)
    : FilterChain(inputTimeBase, threads, fileName), target_(target) {}

bool AudioFilterChain::sameInput(const AVFrame* f) const {
    return f->sample_rate == sampleRate_ && f->format == format_ &&
           layoutText(f->ch_layout) == layout_;
}

void AudioFilterChain::rememberInput(const AVFrame* f) {
    sampleRate_ = f->sample_rate;
    format_ = f->format;
    layout_ = layoutText(f->ch_layout);
}

QByteArray AudioFilterChain::sourceArgs() const {
    return "time_base=" + rational(inputTimeBase_) +
           ":sample_rate=" + QByteArray::number(sampleRate_) +
           ":sample_fmt=" + av_get_sample_fmt_name(static_cast<AVSampleFormat>(format_)) +
           ":channel_layout=" + layout_;
}

QByteArray AudioFilterChain::description(bool firstGraph) const {
    QByteArrayList parts;
    if (target_.volume != 1.0)
        parts << "volume=volume=" + QByteArray::number(target_.volume, 'f', 6);
    QByteArray resample = "aresample=" + QByteArray::number(target_.sampleRate) + ":async=1";
    if (firstGraph)
        resample += ":first_pts=0";
    parts << resample;
    parts << QByteArray("aformat=sample_fmts=") + av_get_sample_fmt_name(target_.format) +
                 ":sample_rates=" + QByteArray::number(target_.sampleRate) +
                 ":channel_layouts=" + target_.layout;
    return parts.join(',');
}

void AudioFilterChain::configureSink(AVFilterContext* sink) {
    // The sink then hands out frames of exactly this size (the last one may be shorter).
    if (target_.frameSize > 0)
        av_buffersink_set_frame_size(sink, static_cast<unsigned>(target_.frameSize));
}

// ---- probing a description

void probeVideoFilterOutput(const QString& description, int width, int height, AVPixelFormat format,
                            AVRational sar, int* outWidth, int* outHeight, AVRational* outSar,
                            const QString& fileName) {
    const QByteArray args =
        "video_size=" + QByteArray::number(width) + 'x' + QByteArray::number(height) +
        ":pix_fmt=" + QByteArray::number(format) +
        ":time_base=1/25:pixel_aspect=" + rational(sar.num > 0 ? sar : AVRational{1, 1});
    AVFilterContext* source = nullptr;
    AVFilterContext* sink = nullptr;
    FilterGraphPtr graph =
        buildGraph("buffer", args, "buffersink", description.toUtf8(), 1, fileName, &source, &sink);
    *outWidth = av_buffersink_get_w(sink);
    *outHeight = av_buffersink_get_h(sink);
    *outSar = av_buffersink_get_sample_aspect_ratio(sink);
}

} // namespace engine
