#pragma once

#include "common/KelList.h"
#include "surface/VX8ImageData.h"
#include "vx8/VX8Image.h"

#include <cstdint>
#include <memory>
#include <string>

// One image handed out by a library, with the count of OpenImage results not yet released.
class TImageNode : public TKelNode {
public:
    explicit TImageNode(std::string name);
    // Releases the surface through the image, then frees the image.
    ~TImageNode() override;

    std::string Name; // lower-cased, at most 8 characters
    int32_t OpenCount = 0;
    std::unique_ptr<TVX8ImageData> Data;
    std::unique_ptr<TVX8Image> Image;
};

// The images a library has handed out, in the order they were opened or created.
class TImageList : public TKelList { };
