#include "VX8TestFiles.h"
#include "common/KelException.h"
#include "support/ExpectFailure.h"
#include "surface/PBMInfo.h"
#include "vx8/VX8Image.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace {

// A record read from a file that holds a few bytes before it, so the record does not start at 0.
class ImageRecord : public testing::Test {
protected:
    void Read(const TBytes& record)
    {
        TBytes bytes {9, 9, 9, 9, 9};
        bytes.insert(bytes.end(), record.begin(), record.end());
        File = std::make_unique<TTempFile>(bytes);
        Stream = std::make_unique<TVX8FileStream>(File->Path(), TVX8FileStream::TMode::ReadOnly);
        Stream->Seek(5);
        Image.ReadFromStream(*Stream);
    }

    void ExpectReadFailure(const TBytes& record, const std::string& message)
    {
        try {
            Read(record);
            ADD_FAILURE() << "read succeeded, expected " << message;
        } catch (const VX8Exception& e) {
            EXPECT_EQ(e.what(), message);
        }
        EXPECT_TRUE(Image.Segments.empty());
        EXPECT_EQ(Image.State, 0);
        EXPECT_EQ(Image.Stream, nullptr);
    }

    std::unique_ptr<TTempFile> File;
    std::unique_ptr<TVX8FileStream> Stream;
    TVX8Image Image;
};

TEST_F(ImageRecord, EncodedRecordReadsUnloadedSegmentsThenDecodes)
{
    Read(RecordBytes(RawLineRecord("Raw", 10, 3, 7)));
    ASSERT_EQ(Image.Segments.size(), 1u);
    EXPECT_EQ(std::string(Image.Name.data(), 3), "Raw");
    EXPECT_EQ(Image.State, 1);
    EXPECT_EQ(Image.RecordStart, 5);
    EXPECT_TRUE(Image.Segments[0]->IsUnloaded());
    EXPECT_EQ(Image.Segments[0]->Size(), 33);
    EXPECT_EQ(Image.Segments[0]->GetEscapes(), std::make_pair(uint8_t {0xF0}, uint8_t {0xF1}));

    Image.DecodeAll();
    EXPECT_EQ(Image.State, 2);
    const uint8_t* rows = Image.Segments[0]->Lock();
    EXPECT_EQ(rows[0], 7);
    EXPECT_EQ(rows[10], 0);
    EXPECT_EQ(rows[2 * 12 + 9], 7);
}

TEST_F(ImageRecord, MultiSegmentImageDecodesEverySegment)
{
    Read(RecordBytes(RawLineRecord("big", 256, 256, 3)));
    const auto data = Image.GetImageData(nullptr);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->SegmentCount, 2);
    EXPECT_EQ(*data->StartLine(0, 0), 3);
    EXPECT_EQ(*data->StartLine(255, 255), 3);
}

TEST_F(ImageRecord, PlainRowsLoadFromTheFileOnFirstLock)
{
    for (uint8_t state : {1, 2}) {
        TTestRecord record = PlainRecord("plain", 5, 3, 10);
        record.State = state;
        Read(RecordBytes(record));
        const auto data = Image.GetImageData(nullptr);
        ASSERT_NE(data, nullptr);
        EXPECT_TRUE(Image.Segments[0]->IsUnloaded()) << "state " << int {state};
        EXPECT_EQ(*data->StartLine(4, 0), 10);
        EXPECT_EQ(*data->StartLine(0, 2), 12);
        EXPECT_FALSE(Image.Segments[0]->IsUnloaded());
    }
}

TEST_F(ImageRecord, HeaderOutOfRuleIsRejected)
{
    const std::string invalid = "Invalid VX8 image header";
    const std::pair<std::function<void(TTestRecord&)>, std::string> cases[] = {
        {[](TTestRecord& r) { r.Revision = 2; }, invalid},
        {[](TTestRecord& r) { r.State = 0; }, invalid},
        {[](TTestRecord& r) { r.State = 3; }, invalid},
        {[](TTestRecord& r) { r.Width = 0; }, invalid},
        {[](TTestRecord& r) { r.Height = 0; }, invalid},
        {[](TTestRecord& r) { r.SegmentCount = 0; }, invalid},
        {[](TTestRecord& r) { r.Width = 65281; }, "ValidateImageHeader: image width above 65280"},
        {[](TTestRecord& r) { r.SegmentCount = 2; },
            "ValidateImageHeader: segment count does not match image size"},
    };
    for (const auto& [change, message] : cases) {
        TTestRecord record = PlainRecord("bad", 4, 1);
        change(record);
        ExpectReadFailure(RecordBytes(record), message);
    }
}

TEST_F(ImageRecord, SegmentTableOutOfRuleIsRejected)
{
    TBytes backwards = RecordBytes(RawLineRecord("r", 4, 1, 1));
    Put32(backwards, 18, 20); // block 0 starts at 22
    ExpectReadFailure(backwards, "ReadFromStream: invalid segment length");

    TBytes huge = RecordBytes(RawLineRecord("r", 4, 1, 1));
    Put32(huge, 18, 22 + 3 + 65536);
    ExpectReadFailure(huge, "ReadFromStream: invalid segment length");

    TBytes pastEnd = RecordBytes(RawLineRecord("r", 4, 1, 1));
    Put32(pastEnd, 18, 22 + 3 + 6);
    ExpectReadFailure(pastEnd, "ReadFromStream: image record runs past end of file");
    ExpectReadFailure(TBytes(10, 0), "ReadFromStream: image record runs past end of file");

    TTestRecord shortRows = PlainRecord("s", 4, 2);
    shortRows.Segments[0].Stored.pop_back();
    ExpectReadFailure(
        RecordBytes(shortRows), "ReadFromStream: segment size does not match image size");
    shortRows.State = 1; // unencoded segments of an encoded record hold rows as they stand
    ExpectReadFailure(
        RecordBytes(shortRows), "ReadFromStream: segment size does not match image size");
}

TEST_F(ImageRecord, FailedDecodingFreesSegmentsAndGivesNoSurface)
{
    TTestRecord record = RawLineRecord("r", 4, 2, 1);
    record.Segments[0].Stored.pop_back();
    Read(RecordBytes(record));
    EXPECT_THROW(Image.DecodeAll(), VX8Exception);
    EXPECT_EQ(Image.State, 0);
    EXPECT_TRUE(Image.Segments.empty());

    Read(RecordBytes(record));
    EXPECT_EQ(Image.GetImageData(nullptr), nullptr);
}

TEST_F(ImageRecord, FileChangedUnderALazySegmentFailsTheLoadAndKeepsItUnloaded)
{
    Read(RecordBytes(PlainRecord("p", 4, 2)));
    TVX8ImageSegment& segment = *Image.Segments[0];
    std::filesystem::resize_file(File->Path(), 5 + 22 + 3 + 4);
    ExpectFailure([&] { segment.Lock(); }, "LoadSegment: segment data runs past end of file");
    EXPECT_TRUE(segment.IsUnloaded());

    std::fstream file(File->Path(), std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(5 + 18);
    file.put(static_cast<char>(22 + 3 + 7)); // the table now gives 7 bytes instead of 8
    file.close();
    ExpectFailure([&] { segment.Lock(); }, "LoadSegment: invalid segment length");
}

TEST(ImageBlank, CreateBlankMakesZeroPixelsInDecodedState)
{
    TVX8Image image;
    image.CreateBlank("_Board_X", 208, 208);
    EXPECT_EQ(std::string(image.Name.data(), 8), "_Board_X");
    EXPECT_EQ(image.State, 2);
    ASSERT_EQ(image.Segments.size(), 1u);
    EXPECT_EQ(image.Segments[0]->Size(), 43264);
    EXPECT_EQ(image.Segments[0]->Lock()[43263], 0);

    image.CreateBlank("none", 0, 5);
    EXPECT_TRUE(image.Segments.empty());
    EXPECT_EQ(image.State, 2);
}

TEST(ImageBlank, SizesTheGeometryCannotHoldAreRejected)
{
    TVX8Image image;
    ExpectFailure(
        [&] { image.CreateBlank("wide", 65281, 1); }, "CreateBlank: width above 65280 pixels");
    EXPECT_THROW(image.CreateBlank("tall", 65280, 300), VX8Exception);
    EXPECT_TRUE(image.Segments.empty());
}

TEST_F(ImageRecord, DrawToDeviceStacksSegmentsAndSkipsBusyOnes)
{
    Read(RecordBytes(PlainRecord("p", 256, 256, 1)));
    TPixelBuffer pixels(256, 258, 0xABCDEF);
    TDeviceContext dc(pixels);
    InitPBMInfo();
    TBitmapInfo header = *SharedPBMInfo();
    Image.DrawToDevice(dc, {0, 2}, header);
    EXPECT_EQ(pixels.Pixel(0, 1), 0xABCDEFu);
    EXPECT_EQ(pixels.Pixel(0, 2), 0x010101u); // image row 0 holds 1
    EXPECT_EQ(pixels.Pixel(255, 257), 0x000000u); // image row 255 holds 256 mod 256
    EXPECT_EQ(header.Header.Height, 128);

    TPixelBuffer fresh(256, 256, 0xABCDEF);
    TDeviceContext freshDc(fresh);
    Image.Segments[1]->SetBusy(true);
    Image.DrawToDevice(freshDc, {0, 0}, header);
    EXPECT_EQ(fresh.Pixel(0, 127), 0xABCDEFu);
    EXPECT_EQ(fresh.Pixel(0, 128), 0x818181u);
    EXPECT_TRUE(Image.Segments[1]->IsBusy());
    EXPECT_FALSE(Image.Segments[0]->IsBusy());
}

} // namespace
