#include "cli/progress_line.h"

#include "platform/console.h"

#include <algorithm>
#include <cstdio>

namespace pylomir::cli {

namespace {

// Narrow enough for an 80-column terminal with the cursor at its end.
constexpr qsizetype kLineWidth = 78;
// The clock is read only every so many calls: a scan calls per entry.
constexpr unsigned kCallsPerLook = 64;
constexpr qint64 kQuietMs = 1000;
constexpr qint64 kRedrawMs = 100;

// The line on the screen now; one at a time.
ProgressLine* drawn = nullptr;

} // namespace

ProgressLine::ProgressLine() : ProgressLine(platform::stderrIsTerminal(), stderr) {}

ProgressLine::ProgressLine(bool enabled, std::FILE* stream) : enabled_(enabled), stream_(stream) {}

void ProgressLine::write(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream_);
    std::fflush(stream_);
}

void ProgressLine::update(const QString& name, int percent) {
    if (!enabled_)
        return;
    if (percent >= 100) {
        finish();
        return;
    }
    if (percent == percent_ && name == name_)
        return;
    percent_ = percent;
    name_ = name;
    const QString shown = name.size() > 60 ? QStringLiteral("...") + name.right(57) : name;
    show(QStringLiteral("%1% %2").arg(percent, 3).arg(shown));
}

void ProgressLine::show(const QString& text) {
    if (!enabled_)
        return;
    QString line = text;
    // A control character would break the line in two.
    for (QChar& c : line) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char('?');
    }
    if (line.size() > kLineWidth)
        line = line.left(kLineWidth - 3) + QStringLiteral("...");
    if (line == shown_ && width_ != 0)
        return;
    shown_ = line;
    const qsizetype length = line.size();
    if (line.size() < width_)
        line += QString(width_ - line.size(), QLatin1Char(' '));
    width_ = length;
    write(QLatin1Char('\r') + line);
    drawn = this;
}

void ProgressLine::finish() {
    if (drawn == this)
        drawn = nullptr;
    if (!enabled_ || width_ == 0)
        return;
    write(QLatin1Char('\r') + QString(width_, QLatin1Char(' ')) + QLatin1Char('\r'));
    width_ = 0;
    percent_ = -1;
    name_.clear();
    shown_.clear();
}

void eraseProgress() {
    if (drawn)
        drawn->finish();
}

QString progressBar(qint64 done, qint64 total, int width) {
    const qint64 filled = total > 0 ? std::clamp<qint64>(done * width / total, 0, width) : 0;
    return QLatin1Char('[') + QString(filled, QLatin1Char('#')) +
           QString(width - filled, QLatin1Char('.')) + QLatin1Char(']');
}

ProgressPump::ProgressPump() {
    started_.start();
}

ProgressPump::ProgressPump(bool enabled, std::FILE* stream) : line_(enabled, stream) {
    started_.start();
}

void ProgressPump::processPendingMessages() {
    if (!text_ || ++calls_ % kCallsPerLook != 0)
        return;
    const qint64 now = started_.elapsed();
    if (now < kQuietMs || now - lastDrawn_ < kRedrawMs)
        return;
    lastDrawn_ = now;
    line_.show(text_());
}

void ProgressPump::setText(std::function<QString()> text) {
    // Nothing to draw on a pipe: the hook stays a single test per call.
    if (!line_.enabled())
        return;
    text_ = std::move(text);
    calls_ = 0;
    lastDrawn_ = 0;
    started_.start();
}

void ProgressPump::finish() {
    text_ = {};
    line_.finish();
}

} // namespace pylomir::cli
