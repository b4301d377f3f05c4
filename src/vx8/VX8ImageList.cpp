#include "vx8/VX8ImageList.h"

#include <utility>

TImageNode::TImageNode(std::string name)
    : Name(std::move(name))
{
}

TImageNode::~TImageNode()
{
    if (Data != nullptr && Image != nullptr)
        Image->ReleaseImageData(std::move(Data));
    Data.reset();
    Image.reset();
}
