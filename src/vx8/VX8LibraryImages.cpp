#include "vx8/VX8Library.h"

#include "common/KelException.h"
#include "common/KelStd.h"
#include "surface/PBMInfo.h"

#include <memory>

int32_t TVX8Library::ImageOffset(std::string_view name) const
{
    const auto found = FDirectory.find(LowerShortName(name));
    return found == FDirectory.end() ? 0 : found->second;
}

TImageNode* TVX8Library::FindOpenImage(const std::string& lowerName) const
{
    for (TKelNode* node = Images.Next(nullptr); node != nullptr; node = Images.Next(node)) {
        auto* image = static_cast<TImageNode*>(node);
        if (image->Name == lowerName)
            return image;
    }
    return nullptr;
}

TImageNode* TVX8Library::OpenImage(std::string_view name)
{
    const std::string shortName = ShortName(name);
    const std::string lowerName = LowerNameText(shortName);
    TImageNode* node = FindOpenImage(lowerName);
    if (node == nullptr) {
        const int32_t offset = ImageOffset(shortName);
        if (offset <= 0 || FStream == nullptr)
            throw VX8Exception("Image \"" + shortName + "\" does not exist");
        auto created = std::make_unique<TImageNode>(lowerName);
        created->Image = std::make_unique<TVX8Image>();
        FStream->Seek(offset);
        created->Image->ReadFromStream(*FStream);
        created->Image->DecodeAll();
        node = created.release();
        Images.AddTail(node);
    }
    ++node->OpenCount;
    return node;
}

void TVX8Library::ReleaseImage(TImageNode* node)
{
    if (node == nullptr)
        return;
    if (node->OpenCount > 0) {
        --node->OpenCount;
        if (node->OpenCount > 0)
            return;
    }
    // Only nodes of this library are freed; anything else is not ours to free.
    if (Images.Contains(node)) {
        Images.Remove(node);
        delete node;
    }
}

TImageNode* TVX8Library::CreateImage(std::string_view name, uint16_t width, uint16_t height)
{
    auto node = std::make_unique<TImageNode>(LowerShortName(name));
    node->Image = std::make_unique<TVX8Image>();
    node->Image->CreateBlank(ShortName(name), width, height);
    Images.AddTail(node.get());
    return node.release();
}

TVX8ImageData* TVX8Library::GetImageData(TImageNode* node)
{
    if (node == nullptr)
        return nullptr;
    if (node->Data == nullptr && node->Image != nullptr)
        node->Data = node->Image->GetImageData(SharedPBMInfo());
    return node->Data.get();
}

void TVX8Library::DrawImage(TDeviceContext& dc, int32_t x, int32_t y, TImageNode* node)
{
    if (node == nullptr || node->Image == nullptr)
        return;
    const TBitmapInfo* shared = SharedPBMInfo();
    if (shared == nullptr)
        throw VX8Exception("DrawImage: PBMInfo not initialized");
    // A copy, so that filling in the sizes leaves the shared header alone.
    TBitmapInfo header = *shared;
    node->Image->DrawToDevice(dc, {x, y}, header);
}
