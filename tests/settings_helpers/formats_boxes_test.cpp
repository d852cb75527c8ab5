#include "settings/formats_boxes.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/registry_scratch.h"

namespace {

// The box of a content type, by its place among the switched rows.
int BoxOf(const std::wstring& contentType) {
    for (int i = 0; i < SWITCHED_FORMAT_COUNT; ++i) {
        if (contentType == SwitchedFormat(i).contentType) {
            return i;
        }
    }
    ADD_FAILURE() << "no box";
    return 0;
}

struct UnknownCase {
    const wchar_t* stored;
    const wchar_t* unknown;
    const wchar_t* ticked = nullptr;  // the content type of the one box ticked, when checked
};

TEST(FormatsBoxes, EntriesNoBoxShowsAreFoundAsWritten) {
    const UnknownCase cases[] = {
        {L"image/heic; image/jxl;*", L"image/jxl"},
        {L" IMAGE/HEIC ;; x-raw ; * ;video/mp4;", L"x-raw"},
        {L"image/jpeg; image/tiff", L""},  // rows that need no switch are not unknown
        {L"a;b", L"a; b"},
        {L"", L""},
        // A raw named by its extension, as the menu takes it for a file without a content type.
        {L" .CR2 ; image/jxl", L"image/jxl", L"image/CR2"},
    };
    for (const UnknownCase& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(UnknownEntries(c.stored), c.unknown);
        if (c.ticked != nullptr) {
            FormatsChoice expected;
            expected.on[BoxOf(c.ticked)] = true;
            EXPECT_TRUE(ListedFormats(c.stored) == expected);
        }
    }
    SCOPED_TRACE("where Windows gives .cr2 a content type, the menu does not take the extension");
    ScratchKey registered(HKEY_CLASSES_ROOT, L".cr2");
    registered.SetString(L"Content Type", L"image/CR2");
    EXPECT_EQ(UnknownEntries(L" .CR2 ; image/jxl"), L".CR2; image/jxl") << "kept as written";
    EXPECT_TRUE(ListedFormats(L" .CR2 ; image/jxl") == FormatsChoice()) << "no box ticked";
}

TEST(FormatsBoxes, ValueIsTheCheckedTypesInTableOrderThenTheKeptEntries) {
    FormatsChoice choice;
    EXPECT_EQ(FormatsValue(choice, L""), L"");
    EXPECT_EQ(FormatsValue(choice, L"image/jxl"), L"image/jxl");
    choice.on[BoxOf(L"video/mp4")] = true;
    choice.on[BoxOf(L"image/heic")] = true;
    EXPECT_EQ(FormatsValue(choice, L""), L"image/heic; video/mp4");
    EXPECT_EQ(FormatsValue(choice, L"image/jxl"), L"image/heic; video/mp4; image/jxl");
    // What is written reads back as the same boxes.
    EXPECT_TRUE(ListedFormats(FormatsValue(choice, L"image/jxl")) == choice);
}

TEST(FormatsBoxes, StarChecksEveryBox) {
    const FormatsChoice listed = ListedFormats(L"*");
    for (int i = 0; i < SWITCHED_FORMAT_COUNT; ++i) {
        EXPECT_TRUE(listed.on[i]) << i;
    }
}

}  // namespace
