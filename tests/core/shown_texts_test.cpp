#include "core/shown_texts.h"
#include "core/ui_port.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

using namespace pylomir::core;

namespace {

// What the left column shows for the numbers the model holds.
TEST(ShownTexts, CountersReadAsTheWindowShowsThem) {
    ScanState scan;
    scan.foundCount = 3;
    scan.foundSizeKb = 4194303;
    scan.ignoredCount = 0;
    scan.suspiciousCount = 12;
    scan.elapsedMinutes = 1;
    scan.elapsedSeconds = 5;
    scan.elapsedHours = 2; // counted, never shown
    EXPECT_EQ(foundCountText(scan), "3 plików");
    EXPECT_EQ(foundSizeText(scan), "4194303 KB");
    EXPECT_EQ(ignoredCountText(scan), "0 plików");
    EXPECT_EQ(suspiciousCountText(scan), "12 plików");
    EXPECT_EQ(elapsedClockText(scan), "01:05");

    StatisticsState statistics;
    statistics.scanCount = 42;
    EXPECT_EQ(scanCountText(statistics), "42");

    FiltersState filters;
    filters.filterCount.reset();
    EXPECT_EQ(filterCountText(filters), "-"); // until first set
    filters.filterCount = 0;
    EXPECT_EQ(filterCountText(filters), "0");

    const std::pair<FoundCaption, const char*> captions[] = {
        {FoundCaption::Found, "Znalazłem:"},
        {FoundCaption::Remaining, "Zostało: "},
        {FoundCaption::Loaded, "Wczytanych: "}};
    for (const auto& [caption, text] : captions)
        EXPECT_EQ(foundCaptionText(caption), QString::fromUtf8(text));

    // No alert shown: the label is a dash, whatever was assessed before.
    AlertState alert;
    alert.details = FileDetails{};
    EXPECT_EQ(alertText(alert), QStringLiteral("-"));
}

// Nobody to ask: every question gets the answer that can lose nothing.
TEST(NullUiPort, AnswersEveryQuestionSafely) {
    const std::pair<MsgButtons, MsgAnswer> cases[] = {{MsgButtons::Ok, MsgAnswer::Ok},
                                                      {MsgButtons::OkCancel, MsgAnswer::Cancel},
                                                      {MsgButtons::YesNo, MsgAnswer::No},
                                                      {MsgButtons::YesNoCancel, MsgAnswer::Cancel}};
    NullUiPort port;
    for (const auto& [buttons, answer] : cases)
        EXPECT_EQ(port.messageBox("c", "t", MsgIcon::Question, buttons), answer) << int(buttons);
}

} // namespace
