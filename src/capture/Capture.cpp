#include "capture/Capture.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "audio/AudioStream.h"
#include "audio/WavFile.h"
#include "capture/CaptureProgress.h"
#include "capture/DrawTargets.h"
#include "capture/OutputKind.h"
#include "capture/PartialFile.h"
#include "capture/StillWriter.h"
#include "capture/VideoEncoder.h"
#include "capture/VideoMetadata.h"
#include "music/Cues.h"
#include "music/Music.h"
#include "platform/ChildProcess.h"
#include "platform/ShowEnd.h"
#include "platform/StagedFile.h"
#include "render/GeometryLeftOut.h"
#include "show/FrameTiming.h"
#include "show/OfflineClock.h"
#include "show/Show.h"
#include "show/ShowSpan.h"
#include "show/View.h"

namespace {

std::atomic<bool> interrupted{false};

extern "C" void noteInterrupt(int) { interrupted = true; }

constexpr std::uint64_t kFullFramesBeforeStart = 2;

EncoderSettings encoderSettings(const CaptureOptions& options, const FrameTiming& timing) {
    FrameShaping shaping{options.supersample, std::nullopt};
    if (options.blend) shaping.blend = timing;
    return {options.file,  &outputKind(options.container, options.archive),
            options.width, options.height,
            options.fps,   options.lossless,
            shaping};
}

// Where the show is drawn in the frame as drawn. Supersampled, it is the
// video's area scaled up whole, so the bars' edges fall between blocks of
// drawn pixels and stay sharp when the blocks are averaged.
ViewportArea drawnArea(const CaptureOptions& options) {
    const int n = options.supersample;
    const ViewportArea area = options.stretch ? ViewportArea{0, 0, options.width, options.height}
                                              : centredFourByThree(options.width, options.height);
    return {area.x * n, area.y * n, area.width * n, area.height * n};
}

bool isStill(const CaptureOptions& options) { return options.container == CaptureOptions::Container::Png; }

// What the frames go into: a still takes the span's first frame alone.
std::unique_ptr<FrameSink> frameSink(const CaptureOptions& options, const FrameTiming& timing,
                                     const std::string& ffmpeg) {
    if (isStill(options)) {
        return std::make_unique<StillWriter>(options.file, options.width, options.height, options.supersample);
    }
    return std::make_unique<VideoEncoder>(ffmpeg, encoderSettings(options, timing));
}

// One capture from its first frame to its last.
class CaptureRun {
public:
    CaptureRun(const CaptureOptions& options, const ShowSpan& span, Show& show, OfflineClock& clock,
               DrawTargets& targets, const std::string& ffmpeg)
        : options_(options),
          show_(show),
          clock_(clock),
          track_(*audio::streamSound(show.music().getStream())),
          timing_{show.periodMs(), options.fps, static_cast<std::uint64_t>(track_.sampleRate)},
          chapters_(show.chapters()),
          targets_(targets) {
        start_ = span.start;
        stop_ = isStill(options) ? std::optional<std::uint64_t>(start_ + 1) : span.stop;
        estimate();
        encoder_ = frameSink(options, timing_, ffmpeg);
        if (!options.timingsFile.empty()) {
            timings_ = std::fopen(options.timingsFile.c_str(), "w");
            if (timings_ == nullptr) throw CaptureError("cannot write " + options.timingsFile);
            // draw-ms: issuing the frame; read-back-ms: reading it back, a
            // frame later, which waits for what is left of its rasterising.
            std::fputs("# frame section rasterised draw-ms wait-for-buffer-ms read-back-ms show-ms cue\n", timings_);
        }
    }

    // Draws frames until the show ends (through finish()) or the --to cue is
    // about to be read.
    void run() {
        for (;;) {
            drawOneFrame();
            clock_.advance(static_cast<std::uint32_t>(timing_.periodMs));
            // The --to point is the frame that would read its cue: not drawn.
            if (stop_ && clock_.framesDone() >= *stop_) finish();
            encoder_->checkHealth();
            if (interrupted) throw CaptureError("interrupted");
            if (clock_.framesDone() > frameLimit_) {
                throw CaptureError("the show did not reach its closing cue within two passes of the music");
            }
            progress_->update(clock_.framesDone() - firstEstimated_, encoder_->framesWritten());
        }
    }

    // Completes the video and leaves the process with exit code 0.
    [[noreturn]] void finish() {
        // The show may end inside a frame that is not rasterised.
        glDisable(GL_RASTERIZER_DISCARD);
        readBackPending();
        if (captured_ == 0) throw CaptureError("nothing to capture: the span is shorter than one frame");
        encoder_->finish(capturedSound(),
                         captureMetadata(chapters_, start_, captured_, static_cast<std::uint32_t>(timing_.periodMs),
                                         options_.from, options_.to));
        if (timings_ != nullptr) std::fclose(timings_);
        progress_->finish(timing_.videoFramesThrough(captured_));
        encoder_.reset();
        std::exit(0);
    }

    void abandon() { encoder_.reset(); }

private:
    void estimate() {
        const std::uint32_t length = track_.frames();
        firstEstimated_ = start_;
        std::uint64_t lastFrame = timing_.frameContaining(length) + 1;
        for (const Chapter& chapter : chapters_) {
            if (chapter.name == cue::kFadeToCredits) lastFrame = std::min(lastFrame, chapter.frame);
        }
        if (stop_) lastFrame = *stop_;
        progress_ = std::make_unique<CaptureProgress>(lastFrame - firstEstimated_,
                                                      timing_.videoFramesThrough(lastFrame - firstEstimated_), stderr);
        frameLimit_ = timing_.frameContaining(2ull * length) + 2;
    }

    void drawOneFrame() {
        const std::uint64_t frame = clock_.framesDone();
        const bool capturing = frame >= start_;
        const std::uint64_t repeats = capturing ? timing_.videoFramesShowing(frame - start_) : 0;
        // A blend has a share of every frame of the capture.
        const bool seen = capturing && (repeats > 0 || options_.blend);
        const std::int32_t section = show_.section();
        targets_.drawInto(frame);
        // A frame no video frame shows still runs its scene (motion counts
        // frames), but need not be rasterised: the renderer drops its
        // primitives before setting them up, and ignores its clear (the next
        // frame clears its pbuffer anyway).
        if (!seen) glEnable(GL_RASTERIZER_DISCARD);
        // The way to --from is run for its state alone, as a seek runs it;
        // the last frames before the start send their geometry too.
        setGeometryLeftOut(frame + kFullFramesBeforeStart < start_);
        const auto started = Clock::now();
        show_.drawFrame();
        setGeometryLeftOut(false);
        // The renderer's threads rasterise the frame from here on, while the
        // frame before is read back and the next one issued.
        glFlush();
        const auto drawn = Clock::now();
        if (!seen) glDisable(GL_RASTERIZER_DISCARD);
        readBackPending();
        if (seen) pending_ = Pending{frame, frame - start_, repeats};
        if (!targets_.overlapped()) readBackPending();
        if (capturing) ++captured_;
        if (timings_ != nullptr) logged_ = Logged{frame, section, seen, milliseconds(drawn - started)};
        if (timings_ != nullptr && !seen) logFrame(0, 0);
    }

    // Reads back the frame drawn last, if the video shows it, and sends it
    // to the encoder.
    void readBackPending() {
        if (!pending_) return;
        const auto started = Clock::now();
        std::uint8_t* pixels = encoder_->nextBuffer();
        const auto waited = Clock::now();
        targets_.readBack(pending_->frame, pixels);
        const auto read = Clock::now();
        encoder_->submit(pending_->captured, pending_->repeats);
        pending_.reset();
        if (timings_ != nullptr) logFrame(milliseconds(waited - started), milliseconds(read - waited));
    }

    // A frame's line of the timings, once its read-back is done.
    void logFrame(double waitedMs, double readMs) {
        if (!logged_) return;
        std::fprintf(timings_, "%llu %d %d %.3f %.3f %.3f %llu %s\n", static_cast<unsigned long long>(logged_->frame),
                     logged_->section, logged_->seen ? 1 : 0, logged_->drawMs, waitedMs, readMs,
                     static_cast<unsigned long long>(logged_->frame * timing_.periodMs), cueAt(logged_->frame));
        logged_.reset();
    }

    using Clock = std::chrono::steady_clock;
    static double milliseconds(Clock::duration span) { return std::chrono::duration<double, std::milli>(span).count(); }

    // The last cue a frame has read, for the timings.
    const char* cueAt(std::uint64_t frame) const {
        const char* name = "-";
        for (const Chapter& chapter : chapters_) {
            if (chapter.frame <= frame) name = chapter.name.c_str();
        }
        return name;
    }

    // The track's own samples for exactly the captured frames, across the
    // loop back to its start if the capture runs past its end.
    CapturedSound capturedSound() const {
        CapturedSound sound{track_.sampleRate, track_.channels, {}};
        const std::uint64_t first = timing_.sampleAt(start_);
        const std::uint64_t end = timing_.sampleAt(start_ + captured_);
        const std::size_t channels = static_cast<std::size_t>(track_.channels);
        const std::uint64_t length = track_.frames();
        sound.samples.reserve(static_cast<std::size_t>(end - first) * channels);
        for (std::uint64_t s = first; s < end && length > 0; ++s) {
            const std::int16_t* frame = &track_.samples[static_cast<std::size_t>(s % length) * channels];
            sound.samples.insert(sound.samples.end(), frame, frame + channels);
        }
        return sound;
    }

    const CaptureOptions& options_;
    Show& show_;
    OfflineClock& clock_;
    const WavSound& track_;
    const FrameTiming timing_;
    const std::vector<Chapter> chapters_;
    std::unique_ptr<FrameSink> encoder_;
    std::unique_ptr<CaptureProgress> progress_;
    std::uint64_t start_ = 0;            // the first frame of the video
    std::optional<std::uint64_t> stop_;  // the frame that is not drawn (--to)
    std::uint64_t captured_ = 0;         // frames drawn since the start
    std::uint64_t firstEstimated_ = 0;
    std::uint64_t frameLimit_ = 0;
    std::FILE* timings_ = nullptr;  // one line per show frame, when asked for
    DrawTargets& targets_;

    // The last frame drawn, while the renderer may still be rasterising it,
    // if the video shows it.
    struct Pending {
        std::uint64_t frame;     // of the show
        std::uint64_t captured;  // of the capture
        std::uint64_t repeats;
    };
    std::optional<Pending> pending_;
    // Its line of the timings, written when it is read back.
    struct Logged {
        std::uint64_t frame;
        std::int32_t section;
        bool seen;
        double drawMs;
    };
    std::optional<Logged> logged_;
};

// The show drawn from its start and captured from the span's first frame.
[[noreturn]] void captureShow(const CaptureOptions& options, const std::string& dataFolder, const ShowSpan& span,
                              const std::string& ffmpeg);

[[noreturn]] void fail(const std::string& message, CaptureRun* run = nullptr) {
    std::fprintf(stderr, "\nmarrowick: capture failed: %s\n", message.c_str());
    std::fflush(stderr);
    if (run != nullptr) run->abandon();
    std::exit(1);
}

// A still needs no ffmpeg, and a folder it cannot be written in is known
// before anything is built: one line, as for any other usage error.
void checkStillCanBeWritten(const std::string& file) {
    platform::StagedFile probe(file);
    if (probe.created()) return;
    std::fprintf(stderr, "marrowick: cannot write %s: %s\n", file.c_str(), std::strerror(probe.error()));
    std::exit(2);
}

}  // namespace

void runCapture(const CaptureOptions& options, const std::string& dataFolder, const ShowSpan& span) {
    if (isStill(options)) {
        checkStillCanBeWritten(options.file);
        captureShow(options, dataFolder, span, "");
    }
    const std::optional<std::string> ffmpeg = platform::findOnPath("ffmpeg");
    if (!ffmpeg) fail("the ffmpeg program is not on the PATH (Debian: apt-get install ffmpeg)");
    // Find out now, not after minutes of drawing, whether the video can be
    // written: in a file of the capture's own, never one the user had.
    if (const std::optional<std::string> probe = createPartialFile(options.file)) {
        std::remove(probe->c_str());
    } else {
        fail("cannot write " + options.file + ": " + std::strerror(errno));
    }
    captureShow(options, dataFolder, span, *ffmpeg);
}

namespace {

void captureShow(const CaptureOptions& options, const std::string& dataFolder, const ShowSpan& span,
                 const std::string& ffmpeg) {
    std::signal(SIGINT, noteInterrupt);
    std::signal(SIGTERM, noteInterrupt);

    // The clock first: every seed the objects take at start-up comes from it.
    // Both live until the exit, which takes the show down with its closing
    // lines.
    static OfflineClock clock;
    static Show show(dataFolder, &clock);
    CaptureRun* running = nullptr;
    try {
        static DrawTargets targets(options.width * options.supersample, options.height * options.supersample);
        show.start();
        reshapeOnto(drawnArea(options));
        if (audio::streamSound(show.music().getStream()) == nullptr) throw CaptureError("the music cannot be played");
        static CaptureRun run(options, span, show, clock, targets, ffmpeg);
        running = &run;
        platform::setShowEnding([] {
            try {
                run.finish();
            } catch (const std::exception& error) {
                fail(error.what(), &run);
            }
        });
        run.run();
    } catch (const std::exception& error) {
        fail(error.what(), running);
    }
    std::exit(1);  // run() leaves only through finish() or fail()
}

}  // namespace
