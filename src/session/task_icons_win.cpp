#include "session/task_icons_win.h"

#include <shellapi.h>

#include "common/error.h"
#include "common/win/unique_handle_win.h"
#include "common/win/wide_text_win.h"
#include "session/stored_pictures_win.h"

namespace quorvel {

namespace {

constexpr int kPictureSize = 32;

// The icon at that index, or nothing. ExtractIcon answers 1, which is no handle, for a file
// that is not a program, library or icon file (a ".bat", say); that too is no icon.
UniqueIcon ExtractFileIcon(HINSTANCE instance, const std::u16string& fileName, int iconIndex) {
    const HICON icon =
        ::ExtractIconW(instance, ToWide(fileName).c_str(), static_cast<UINT>(iconIndex));
    if (reinterpret_cast<UINT_PTR>(icon) <= 1) return UniqueIcon();
    return UniqueIcon(icon);
}

// A 32 x 32 bitmap on white with what `draw` puts on it. Its 24 bits have no alpha channel,
// so an icon's translucent edges are blended with the white and the list shows the whole square
// as drawn.
template <typename Draw>
UniqueGdiObject DrawPicture(Draw&& draw) {
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = kPictureSize;
    format.bmiHeader.biHeight = kPictureSize;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 24;
    format.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    UniqueGdiObject bitmap(
        ::CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &pixels, nullptr, 0));
    UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!bitmap || !dc) throw Error(u"Out of system resources");
    const SelectedObject canvas(dc.get(), bitmap.get());
    const RECT square{0, 0, kPictureSize, kPictureSize};
    ::FillRect(dc.get(), &square, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    draw(dc.get());
    return bitmap;
}

}  // namespace

HIMAGELIST ImageListPictures::List() const {
    if (!imageList_) {
        imageList_.reset(::ImageList_Create(kPictureSize, kPictureSize, ILC_COLOR32,
                                            /*cInitial=*/0, /*cGrow=*/8));
        if (!imageList_) throw Error(u"Out of system resources");
    }
    return imageList_.get();
}

void ImageListPictures::RemoveAll() {
    ::ImageList_RemoveAll(List());
    pictureAt_ = std::vector<int>();
}

void ImageListPictures::AddIconImage(const std::u16string& fileName, int iconIndex) {
    AppendPicture([&](HDC dc) {
        UniqueIcon icon = ExtractFileIcon(instance_, fileName, iconIndex);
        if (!icon) icon = ExtractFileIcon(instance_, u"SHELL32.dll", 24);
        // Even without the fallback icon a (blank) picture is appended: the positions count
        // on one picture per source.
        if (icon) {
            ::DrawIconEx(dc, 0, 0, icon.get(), kPictureSize, kPictureSize, 0, nullptr, DI_NORMAL);
        }
    });
}

void ImageListPictures::AddStoredPicture(StoredPicture picture) {
    AppendPicture([&](HDC dc) { DrawStoredPicture(dc, picture); });
}

int ImageListPictures::PictureOf(int position) const {
    const int picture = !pictureAt_ ? position
                        : position >= 0 && position < static_cast<int>(pictureAt_->size())
                            ? (*pictureAt_)[position]
                            : -1;
    return picture >= 0 && picture < ::ImageList_GetImageCount(List()) ? picture : -1;
}

template <typename Draw>
void ImageListPictures::AppendPicture(Draw&& draw) {
    // The list keeps its own copy of the bitmap.
    const UniqueGdiObject bitmap = DrawPicture(draw);
    if (::ImageList_Add(List(), static_cast<HBITMAP>(bitmap.get()), nullptr) < 0) {
        throw Error(u"Failed to add a picture to the image list");
    }
}

}  // namespace quorvel
