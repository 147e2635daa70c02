#pragma once

#include <string>
#include <vector>

#include "common/error.h"
#include "session/task_icons.h"

namespace quorvel::testing_support {

// The task pictures as a list of their sources, in the order they were appended, and the
// picture of each position; the list can be made to fail as a real one out of resources does.
class RecordingPictures : public TaskPictures {
  public:
    std::vector<PictureSource> list;
    int removeAllCalls = 0;
    std::vector<int> positions;
    bool failing = false;

    void RemoveAll() override {
        if (failing) throw Error(u"Failed to add a picture to the image list");
        ++removeAllCalls;
        list.clear();
    }

    void AddIconImage(const std::u16string& fileName, int iconIndex) override {
        list.emplace_back(IconFile{fileName, iconIndex});
    }
    void AddDrawnPicture(DrawnPicture picture) override { list.emplace_back(picture); }
    void SetPositions(std::vector<int> pictureAt) override { positions = std::move(pictureAt); }
};

}  // namespace quorvel::testing_support
