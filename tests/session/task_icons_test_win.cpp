#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/win/unique_handle_win.h"
#include "common/win/wide_text_win.h"
#include "scratch_folder.h"
#include "session/task_icons_win.h"

namespace quorvel {
namespace {

using Pixels = std::vector<std::uint32_t>;

std::wstring SystemFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH + 1] = {};
    ::GetSystemDirectoryW(folder, MAX_PATH + 1);
    return std::wstring(folder) + L"\\" + name;
}

class ImageListPicturesTest : public ::testing::Test {
  protected:
    // The picture at a position of the list, as 32-bit pixels of a square of that size.
    Pixels PictureAt(int position, int size = 32) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = size;
        info.bmiHeader.biHeight = -size;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        UniqueGdiObject section(
            ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
        const HGDIOBJ old = ::SelectObject(dc.get(), section.get());
        ::ImageList_Draw(pictures_.List(), position, dc.get(), 0, 0, ILD_NORMAL);
        ::GdiFlush();
        const auto* first = static_cast<const std::uint32_t*>(bits);
        Pixels pixels(first, first + size * size);
        ::SelectObject(dc.get(), old);
        for (auto& pixel : pixels) pixel &= 0xFFFFFF;
        return pixels;
    }

    int Count() { return ::ImageList_GetImageCount(pictures_.List()); }
    // The picture of a file's icon, made now or before.
    int Icon(const std::wstring& file, int index = 0) {
        return pictures_.PictureOf(IconFile{FromWide(file), index});
    }

    ImageListPictures pictures_{::GetModuleHandleW(nullptr), /*programIconId=*/1};
};

bool IsBlank(const Pixels& pixels) {
    return std::all_of(pixels.begin(), pixels.end(), [&](auto p) { return p == pixels.front(); });
}

TEST_F(ImageListPicturesTest, FilesWithoutIconGetTheShellFallbackPicture) {
    const ScratchFolder scratch;
    const std::wstring batch = (scratch.Path() / L"quorvel-icon-test.bat").wstring();
    {
        UniqueFileHandle file(::CreateFileW(batch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file);
    }
    const std::vector<int> made{Icon(L"SHELL32.dll", 24), Icon(batch),
                                Icon(L"C:\\no\\such\\program.exe"),
                                Icon(L"C:\\Tools\\app.exe -q -x")};

    ASSERT_EQ(made, (std::vector<int>{0, 1, 2, 3}));
    const Pixels fallback = PictureAt(0);
    EXPECT_FALSE(IsBlank(fallback));
    EXPECT_EQ(PictureAt(1), fallback) << "a .bat file";
    EXPECT_EQ(PictureAt(2), fallback) << "a missing file";
    EXPECT_EQ(PictureAt(3), fallback) << "a program path with parameters";
}

// A program not there yet shows the stand-in until, after a change, it is asked for again.
TEST_F(ImageListPicturesTest, LongPathsReachTheirIconWholeOnceTheProgramIsThere) {
    const ScratchFolder scratch;
    const std::wstring folder = scratch.Path().wstring() +
                                L"\\a-folder-whose-name-alone-is-longer-than-the-old-"
                                L"buffer-of-seventy-nine-characters";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring copy = folder + L"\\notepad-copy.exe";
    ASSERT_GT(copy.size(), 79U);
    const int place = Icon(copy);
    const Pixels standIn = PictureAt(place);
    ASSERT_TRUE(::CopyFileW(SystemFile(L"notepad.exe").c_str(), copy.c_str(), FALSE));
    EXPECT_EQ(PictureAt(Icon(copy)), standIn) << "made once, until a change";

    pictures_.RetryMissingIcons();
    const Pixels notepad = PictureAt(Icon(SystemFile(L"notepad.exe")));
    EXPECT_EQ(Icon(copy), place);
    EXPECT_EQ(PictureAt(place), notepad);
    EXPECT_NE(standIn, notepad) << "not the fallback";
}

// Each source is made once, as it is first asked for, and shared by every row that shows it.
TEST_F(ImageListPicturesTest, EachPictureIsMadeOnceAndTheDrawnOnesAreDistinct) {
    const std::vector<DrawnPicture> sources{DrawnPicture::RebootPicture, DrawnPicture::PowerPicture,
                                            DrawnPicture::WindowsPicture,
                                            DrawnPicture::ClipboardPicture};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(pictures_.PictureOf(sources[i]), i);
    EXPECT_EQ(pictures_.PictureOf(DrawnPicture::PowerPicture), 1) << "asked for again";
    ASSERT_EQ(Count(), 4);
    std::vector<Pixels> drawn;
    for (int i = 0; i < 4; ++i) drawn.push_back(PictureAt(i));
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(IsBlank(drawn[i])) << i;
        for (int j = i + 1; j < 4; ++j) EXPECT_NE(drawn[i], drawn[j]) << i << " " << j;
    }
}

// At twice the scaling, the same list holds the pictures drawn again at 64 pixels as they are
// asked for, with nothing at 64 left blank where the 32-pixel one was drawn.
TEST_F(ImageListPicturesTest, PicturesAreDrawnAgainAtANewSizeInTheSameList) {
    const PictureSource clipboardSource = DrawnPicture::ClipboardPicture;
    const Pixels clipboard = PictureAt(pictures_.PictureOf(clipboardSource));
    Icon(SystemFile(L"notepad.exe"));
    const HIMAGELIST list = pictures_.List();

    pictures_.SetPictureSize(64);
    EXPECT_EQ(pictures_.List(), list);
    EXPECT_EQ(Count(), 0);
    EXPECT_EQ(Icon(SystemFile(L"notepad.exe")), 0);
    EXPECT_EQ(pictures_.PictureOf(clipboardSource), 1);
    int width = 0;
    int height = 0;
    ::ImageList_GetIconSize(list, &width, &height);
    EXPECT_EQ(std::pair(width, height), std::pair(64, 64));
    for (int i = 0; i < 2; ++i) {
        const Pixels large = PictureAt(i, 64);
        EXPECT_FALSE(IsBlank(large)) << i;
        // The right half and the bottom half are drawn too: not a 32-pixel picture in a corner.
        EXPECT_FALSE(IsBlank(Pixels(large.begin() + 48 * 64, large.end()))) << i;
    }
    // The designed picture stretched: its middle is where it was.
    EXPECT_EQ(PictureAt(1, 64)[32 * 64 + 32], clipboard[16 * 32 + 16]);
}

}  // namespace
}  // namespace quorvel
