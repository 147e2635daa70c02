#include "editor/task_icons_win.h"

#include <shellapi.h>

#include "common/error.h"
#include "common/unique_handle_win.h"
#include "editor/stored_pictures_win.h"

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

// Selects a bitmap into a memory device context for as long as it lives.
class BitmapCanvas {
  public:
    BitmapCanvas(HDC dc, HBITMAP bitmap) : dc_(dc), old_(::SelectObject(dc, bitmap)) {}
    ~BitmapCanvas() { ::SelectObject(dc_, old_); }
    BitmapCanvas(const BitmapCanvas&) = delete;
    BitmapCanvas& operator=(const BitmapCanvas&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

struct MemoryDcTraits {
    static HDC Invalid() { return nullptr; }
    static void Close(HDC dc) { ::DeleteDC(dc); }
};

}  // namespace

void ImageListPictures::RemoveAll() { ::ImageList_RemoveAll(imageList1_); }

void ImageListPictures::AddIconImage(const std::u16string& fileName, int iconIndex) {
    UniqueIcon icon = ExtractFileIcon(instance_, fileName, iconIndex);
    if (!icon) icon = ExtractFileIcon(instance_, u"SHELL32.dll", 24);
    // Even without the fallback icon a (blank) picture is appended: every row's Image cell
    // counts on one picture per row.
    AppendPicture([&](HDC dc) {
        if (icon)
            ::DrawIconEx(dc, 0, 0, icon.get(), kPictureSize, kPictureSize, 0, nullptr, DI_NORMAL);
    });
}

void ImageListPictures::AddStoredPicture(StoredPicture picture) {
    AppendPicture([&](HDC dc) { DrawStoredPicture(dc, picture); });
}

template <typename Draw>
void ImageListPictures::AppendPicture(Draw&& draw) {
    const HDC screen = ::GetDC(nullptr);
    UniqueGdiObject bitmap(::CreateCompatibleBitmap(screen, kPictureSize, kPictureSize));
    UniqueHandle<MemoryDcTraits> dc(::CreateCompatibleDC(screen));
    ::ReleaseDC(nullptr, screen);
    if (!bitmap || !dc) throw Error(u"Out of system resources");
    {
        BitmapCanvas canvas(dc.get(), static_cast<HBITMAP>(bitmap.get()));
        const RECT square{0, 0, kPictureSize, kPictureSize};
        ::FillRect(dc.get(), &square, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        draw(dc.get());
    }
    if (::ImageList_Add(imageList1_, static_cast<HBITMAP>(bitmap.get()), nullptr) < 0) {
        throw Error(u"Failed to add a picture to the image list");
    }
}

}  // namespace quorvel
