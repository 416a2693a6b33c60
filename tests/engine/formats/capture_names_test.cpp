// The naming rules for marks from other systems' files.
#include <gtest/gtest.h>

#include "engine/formats/capture_names.h"

using Names = std::vector<std::string>;

TEST(CaptureNames, TrimsAndReplacesWhatAnIdfWordCannotHold) {
    EXPECT_EQ(capture_names({" \tRASI  ", "L ASIS", "T\x7f" "A", "\xc3\xa9t\xc3\xa9", "a\tb"}),
              (Names{"RASI", "L_ASIS", "T_A", "__t__", "a_b"}));
}

TEST(CaptureNames, EmptyLabelsAreNumberedByPosition) {
    EXPECT_EQ(capture_names({"A", "", "   ", "B"}), (Names{"A", "M002", "M003", "B"}));
}

TEST(CaptureNames, RepeatsAreSuffixedAndNeverCollide) {
    EXPECT_EQ(capture_names({"X", "X", "X", "Y"}), (Names{"X", "X~2", "X~3", "Y"}));
    // A label that is already what a suffix would make is itself suffixed further.
    EXPECT_EQ(capture_names({"X", "X~2", "X"}), (Names{"X", "X~2", "X~3"}));
    EXPECT_EQ(capture_names({"M002", ""}), (Names{"M002", "M002~2"}));
}

TEST(CaptureNames, ALeadingZeroGetsAnM) {
    // An IDF line that begins with "0" starts the data section.
    EXPECT_EQ(capture_names({"0", " 07LHEE", "M07LHEE"}), (Names{"M0", "M07LHEE", "M07LHEE~2"}));
}
