// Progress on standard error, redrawn in place on one line; only when it is
// a terminal, so logs and pipes get nothing.
#pragma once

#include "core/message_pump.h"

#include <QElapsedTimer>
#include <QString>

#include <cstdio>
#include <functional>

namespace pylomir::cli {

class ProgressLine {
public:
    // Draws on stream when enabled (by default: standard error, when it is
    // a terminal).
    ProgressLine();
    ProgressLine(bool enabled, std::FILE* stream);
    ~ProgressLine() { finish(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    bool enabled() const { return enabled_; }
    // "NN% name", the name cut to its end; 100 erases the line.
    void update(const QString& name, int percent);
    // Any text, cut to fit a terminal line.
    void show(const QString& text);
    // Erases the line, leaving the cursor where it began.
    void finish();

private:
    void write(const QString& text);

    bool enabled_;
    std::FILE* stream_;
    int percent_ = -1;
    QString name_;
    QString shown_;
    qsizetype width_ = 0;
};

// Erases whichever progress line is drawn, so that a message printed on
// standard error starts on a line of its own; the line is drawn again at its
// next update.
void eraseProgress();

// A bar of width cells, filled by done of total ("[#####.....]").
QString progressBar(qint64 done, qint64 total, int width = 20);

// The message hook of a long scan or deletion: the work calls it for every
// entry, and it redraws the progress line from text() once the work has
// lasted a second, then at most every 100 ms. Silent where standard error is
// not a terminal.
class ProgressPump : public core::MessagePump {
public:
    ProgressPump();
    ProgressPump(bool enabled, std::FILE* stream);

    void processPendingMessages() override;
    // What the line shows; unset shows nothing.
    void setText(std::function<QString()> text);
    // Erases the line and stops drawing until the next setText.
    void finish();

private:
    ProgressLine line_;
    std::function<QString()> text_;
    QElapsedTimer started_;
    qint64 lastDrawn_ = 0;
    unsigned calls_ = 0;
};

} // namespace pylomir::cli
