#include "session/task_icons_win.h"

#include <shlobj.h>

#include "common/error.h"
#include "common/win/ui_metrics_win.h"
#include "common/win/unique_handle_win.h"
#include "common/win/wide_text_win.h"
#include "session/drawn_pictures_win.h"

namespace quorvel {

namespace {

// The file's icon at that index and size, or nothing (for a file that is not a program,
// library or icon file, a ".bat" say).
UniqueIcon ExtractFileIcon(const std::u16string& fileName, int iconIndex, int size) {
    HICON icon = nullptr;
    const HRESULT result =
        ::SHDefExtractIconW(ToWide(fileName).c_str(), iconIndex, /*uFlags=*/0, &icon,
                            /*phiconSmall=*/nullptr, static_cast<UINT>(size));
    return UniqueIcon(result == S_OK ? icon : nullptr);
}

// A square bitmap of that size on white with what `draw` puts on it. Its 24 bits have no alpha
// channel, so an icon's translucent edges are blended with the white and the list shows the
// whole square as drawn.
template <typename Draw>
UniqueGdiObject DrawPicture(int size, Draw&& draw) {
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = size;
    format.bmiHeader.biHeight = size;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 24;
    format.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    UniqueGdiObject bitmap(
        ::CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &pixels, nullptr, 0));
    UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!bitmap || !dc) throw Error(u"Out of system resources");
    const SelectedObject canvas(dc.get(), bitmap.get());
    const RECT square{0, 0, size, size};
    ::FillRect(dc.get(), &square, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    draw(dc.get());
    return bitmap;
}

}  // namespace

HIMAGELIST ImageListPictures::List() const {
    if (!imageList_) {
        imageList_.reset(::ImageList_Create(size_, size_, ILC_COLOR32,
                                            /*cInitial=*/0, /*cGrow=*/8));
        if (!imageList_) throw Error(u"Out of system resources");
    }
    return imageList_.get();
}

void ImageListPictures::SetPictureSize(int pixels) {
    if (pixels == size_) return;
    size_ = pixels;
    made_.clear();
    // The same list, emptied, so that the views that show it keep it.
    if (imageList_) ::ImageList_SetIconSize(imageList_.get(), size_, size_);
}

int ImageListPictures::PictureOf(const PictureSource& source) {
    const auto found = made_.find(source);
    if (found != made_.end() && !found->second.retryDue) return found->second.place;
    try {
        Made& made = made_[source];
        made.standIn = !Draw(source, made.place);
        made.retryDue = false;
        return made.place;
    } catch (const Error&) {
        made_.erase(source);
        return -1;
    }
}

void ImageListPictures::RetryMissingIcons() {
    for (auto& [source, made] : made_) made.retryDue = made.standIn;
}

bool ImageListPictures::Draw(const PictureSource& source, int& place) {
    const int size = size_;
    bool iconFound = true;
    // The list keeps its own copy of the bitmap.
    const UniqueGdiObject bitmap = DrawPicture(size, [&](HDC dc) {
        if (const auto* file = std::get_if<IconFile>(&source)) {
            UniqueIcon icon = ExtractFileIcon(file->fileName, file->index, size);
            iconFound = static_cast<bool>(icon);
            if (!icon) icon = ExtractFileIcon(u"SHELL32.dll", 24, size);
            // Even without the fallback icon a (blank) picture is made.
            if (icon) ::DrawIconEx(dc, 0, 0, icon.get(), size, size, 0, nullptr, DI_NORMAL);
        } else if (const auto* picture = std::get_if<DrawnPicture>(&source)) {
            DrawPicture(dc, *picture, size);
        } else {
            const UniqueIcon icon = LoadIconAtSize(instance_, programIconId_, size);
            if (icon) ::DrawIconEx(dc, 0, 0, icon.get(), size, size, 0, nullptr, DI_NORMAL);
        }
    });
    const auto image = static_cast<HBITMAP>(bitmap.get());
    if (place >= 0) {
        if (!::ImageList_Replace(List(), place, image, nullptr)) {
            throw Error(u"Failed to add a picture to the image list");
        }
    } else {
        place = ::ImageList_Add(List(), image, nullptr);
        if (place < 0) throw Error(u"Failed to add a picture to the image list");
    }
    return iconFound;
}

}  // namespace quorvel
