#include "vx8/VX8Library.h"

#include "common/KelBytes.h"
#include "common/KelException.h"
#include "common/KelStd.h"

#include <algorithm>
#include <limits>
#include <new>

namespace {

[[noreturn]] void HeaderInvalid()
{
    throw VX8Exception("ValidateVX8FileHeader: header invalid");
}

[[noreturn]] void RecordPastEnd()
{
    throw VX8Exception("BuildDirectory: image record runs past end of file");
}

} // namespace

TVX8Library::~TVX8Library()
{
    for (TVX8Library** variable : FReferences)
        *variable = nullptr;
    FReferences.clear();
    Close();
}

void TVX8Library::ValidateVX8FileHeader(std::span<const uint8_t> header)
{
    if (header.size() < FileHeaderSize || header[0] != 'V' || header[1] != 'X' || header[2] != 8
        || header[4] != 2 || header[5] != 0)
        HeaderInvalid();
}

void TVX8Library::Open(const std::string& fileName, bool readOnly)
{
    Close();
    FileName = fileName;
    try {
        const bool openReadOnly = readOnly || IsFileReadOnly(fileName);
        FStream = std::make_unique<TVX8FileStream>(fileName,
            openReadOnly ? TVX8FileStream::TMode::ReadOnly : TVX8FileStream::TMode::ReadWrite);
        ReadFileStart();
        GetHPal();
        const int64_t length = FStream->Length();
        if (length > std::numeric_limits<int32_t>::max())
            throw VX8Exception("Open: library file larger than 2 GiB");
        FFileLength = length;
        BuildDirectory();
    } catch (...) {
        Close();
        throw;
    }
}

// The 6-byte file header and the shared palette; a file too short for them is invalid.
void TVX8Library::ReadFileStart()
{
    if (FStream->Length() < FirstRecordOffset)
        HeaderInvalid();
    std::array<uint8_t, FileHeaderSize> header;
    FStream->Seek(0);
    if (!FStream->ReadExact(header.data(), header.size()))
        HeaderInvalid();
    ValidateVX8FileHeader(header);
    FPalette = std::make_unique<std::array<uint8_t, PaletteSize>>();
    if (!FStream->ReadExact(FPalette->data(), FPalette->size()))
        HeaderInvalid();
}

void TVX8Library::Close()
{
    FStream.reset();
    Images.Clear();
    FDirectory.clear();
    FRecords.clear();
    FPaletteHandle.reset();
    FPalette.reset();
    FileName.clear();
    FFileLength = 0;
}

void TVX8Library::BuildDirectory()
{
    FDirectory.clear();
    FRecords.clear();
    try {
        int64_t position = FirstRecordOffset;
        while (position < FFileLength) {
            std::array<uint8_t, TVX8Image::HeaderSize> header;
            FStream->Seek(position);
            if (!FStream->ReadExact(header.data(), header.size()))
                RecordPastEnd();
            TVX8Image::ValidateImageHeader(header);
            const std::size_t nameLength
                = std::find(header.begin(), header.begin() + 8, 0) - header.begin();
            const uint8_t count = header[12];
            std::array<uint8_t, 4> lastEntry;
            FStream->Skip((count - 1) * 4);
            if (!FStream->ReadExact(lastEntry.data(), lastEntry.size()))
                RecordPastEnd();
            // A record must reach past its own header and table, or the scan would stand still
            // or run backwards.
            const int64_t length = ReadLE32(lastEntry.data());
            if (length <= static_cast<int64_t>(TVX8Image::HeaderSize) + 4 * count)
                throw VX8Exception("BuildDirectory: invalid image record length");
            if (position + length > FFileLength)
                RecordPastEnd();
            TVX8RecordEntry& entry = FRecords.emplace_back();
            entry.Offset = static_cast<int32_t>(position);
            entry.Name.assign(reinterpret_cast<const char*>(header.data()), nameLength);
            entry.Width = ReadLE16(&header[8]);
            entry.Height = ReadLE16(&header[10]);
            entry.SegmentCount = count;
            entry.State = header[13];
            entry.TransparentIndex = header[14];
            entry.Transparent = header[15] != 0;
            FDirectory.emplace(LowerShortName(entry.Name), entry.Offset);
            position += length;
        }
    } catch (...) {
        Close();
        throw;
    }
}

const TDisplayPalette* TVX8Library::GetHPal()
{
    if (FPaletteHandle != nullptr)
        return FPaletteHandle.get();
    if (FPalette == nullptr)
        throw VX8Exception("GetHPal: global palette unavailable");
    // Screens here have no static reserved colours: h = 1, black at 0 and white at 255, the
    // library's colours in between, each kept apart from the others.
    auto palette = std::unique_ptr<TDisplayPalette>(new (std::nothrow) TDisplayPalette());
    if (palette == nullptr)
        throw VX8Exception("GetHPal: CreatePalette failed");
    const int reserved = 1;
    for (int i = reserved; i < 256 - reserved; ++i) {
        const uint8_t* entry = FPalette->data() + i * 4;
        palette->Entries[i] = {entry[2], entry[1], entry[0], PaletteNoCollapse};
    }
    palette->Entries[BlackEntry] = {0, 0, 0, 0};
    palette->Entries[WhiteEntry] = {255, 255, 255, 0};
    FPaletteHandle = std::move(palette);
    return FPaletteHandle.get();
}

void TVX8Library::RegisterReference(TVX8Library** variable)
{
    if (variable != nullptr && *variable == this)
        FReferences.push_back(variable);
}

void TVX8Library::UnregisterReference(TVX8Library** variable)
{
    const auto found = std::find(FReferences.begin(), FReferences.end(), variable);
    if (found != FReferences.end())
        FReferences.erase(found);
}

bool TVX8Library::IsReadOnly() const
{
    return FStream != nullptr && FStream->Mode() == TVX8FileStream::TMode::ReadOnly;
}
