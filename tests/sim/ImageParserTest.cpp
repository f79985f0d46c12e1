#include <gtest/gtest.h>

#include <cstring>

#include "SimTestSupport.h"
#include "common/ImageParser.h"
#include "common/LittleEndian.h"

namespace tandrel::sim {
namespace {

using test::Payload;

std::vector<std::uint8_t> PlainImage(const std::vector<std::uint8_t>& payload, std::int32_t memoryClass = 4,
                                     const std::string& name = "code.fls") {
    ImageItem item{name, memoryClass, kPlainHeaderSize, payload.size(), Sha256Of(payload.data(), payload.size())};
    std::vector<std::uint8_t> bytes = EncodePlainHeader(item);
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    return bytes;
}

std::vector<std::uint8_t> Container(const std::vector<std::vector<std::uint8_t>>& payloads) {
    std::vector<ImageItem> items;
    std::uint64_t offset = ContainerTableEnd(payloads.size());
    for (std::size_t i = 0; i < payloads.size(); ++i) {
        items.push_back({"item" + std::to_string(i), static_cast<std::int32_t>(i + 1), offset, payloads[i].size(), {}});
        offset += payloads[i].size();
    }
    std::vector<std::uint8_t> bytes = EncodeContainerHeader(items);
    for (const auto& p : payloads) bytes.insert(bytes.end(), p.begin(), p.end());
    return bytes;
}

std::optional<ImageToc> Parse(const std::vector<std::uint8_t>& bytes, std::string& error) {
    MemorySource source(bytes.data(), bytes.size());
    return ParseImage(source, error);
}

std::string Refusal(const std::vector<std::uint8_t>& bytes) {
    std::string error;
    EXPECT_FALSE(Parse(bytes, error).has_value());
    return error;
}

std::uint8_t* Entry(std::vector<std::uint8_t>& bytes, std::size_t index) {
    return &bytes[kContainerHeaderSize + index * kEntrySize];
}

TEST(ImageParser, ReadsBackWhatTheEncodersWrote) {
    std::string error;
    std::vector<std::uint8_t> payload = Payload(1000, 1);
    std::optional<ImageToc> plain = Parse(PlainImage(payload, -3, "psi"), error);
    ASSERT_TRUE(plain) << error;
    EXPECT_EQ(plain->kind, ImageKind::Plain);
    ASSERT_EQ(plain->items.size(), 1u);
    EXPECT_EQ(plain->items[0].name, "psi");
    EXPECT_EQ(plain->items[0].memoryClass, -3);
    EXPECT_EQ(plain->items[0].offset, kPlainHeaderSize);
    EXPECT_EQ(plain->items[0].length, 1000u);
    EXPECT_EQ(plain->items[0].checksum, Sha256Of(payload.data(), payload.size()));

    std::optional<ImageToc> container = Parse(Container({Payload(10, 2), {}, Payload(30, 3)}), error);
    ASSERT_TRUE(container) << error;
    EXPECT_EQ(container->kind, ImageKind::Container);
    ASSERT_EQ(container->items.size(), 3u);
    EXPECT_EQ(container->items[2].name, "item2");
    EXPECT_EQ(container->items[2].memoryClass, 3);
    EXPECT_EQ(container->items[2].offset, ContainerTableEnd(3) + 10);
    EXPECT_EQ(container->items[1].length, 0u);
}

TEST(ImageParser, RefusesDamagedPlainImages) {
    std::vector<std::uint8_t> image = PlainImage(Payload(100, 1));
    EXPECT_NE(Refusal({}).find("too short"), std::string::npos);
    EXPECT_NE(Refusal({image.begin(), image.begin() + 60}).find("header is truncated"), std::string::npos);
    EXPECT_NE(Refusal({image.begin(), image.end() - 1}).find("payload is truncated"), std::string::npos);
    std::vector<std::uint8_t> longer = image;
    longer.push_back(0);
    EXPECT_NE(Refusal(longer).find("after its payload"), std::string::npos);

    std::vector<std::uint8_t> hugeLength = image;
    PutLe64(&hugeLength[16], UINT64_MAX);
    EXPECT_NE(Refusal(hugeLength).find("truncated"), std::string::npos);

    std::vector<std::uint8_t> version = image;
    PutLe16(&version[8], 2);
    EXPECT_NE(Refusal(version).find("version"), std::string::npos);

    std::vector<std::uint8_t> magic = image;
    magic[0] = 'X';
    EXPECT_NE(Refusal(magic).find("magic"), std::string::npos);
}

TEST(ImageParser, RefusesNamesThatAreNotTerminatedEmptyOrHoldControlBytes) {
    std::vector<std::uint8_t> image = PlainImage(Payload(10, 1));
    std::vector<std::uint8_t> unterminated = image;
    std::memset(&unterminated[24], 'a', kNameField);
    EXPECT_NE(Refusal(unterminated).find("not terminated"), std::string::npos);
    std::vector<std::uint8_t> empty = image;
    std::memset(&empty[24], 0, kNameField);
    EXPECT_NE(Refusal(empty).find("empty"), std::string::npos);
    std::vector<std::uint8_t> control = image;
    control[25] = '\t';
    EXPECT_NE(Refusal(control).find("control"), std::string::npos);
}

TEST(ImageParser, RefusesContainersWithBadCounts) {
    std::vector<std::uint8_t> container = Container({Payload(10, 1), Payload(20, 2)});
    for (std::uint32_t count : {0u, kMaxItems + 1, 0xFFFFFFFFu}) {
        std::vector<std::uint8_t> bytes = container;
        PutLe32(&bytes[12], count);
        EXPECT_NE(Refusal(bytes).find("claims"), std::string::npos) << count;
    }
    std::vector<std::uint8_t> moreThanThere = container;
    PutLe32(&moreThanThere[12], 40);
    EXPECT_NE(Refusal(moreThanThere).find("table of contents is truncated"), std::string::npos);
    EXPECT_NE(Refusal({container.begin(), container.begin() + 12}).find("header is truncated"), std::string::npos);
}

TEST(ImageParser, RefusesContainerItemsOutsideThePayloadArea) {
    std::vector<std::uint8_t> container = Container({Payload(10, 1), Payload(20, 2)});
    struct Case {
        std::uint64_t offset, length;
    };
    std::uint64_t size = container.size();
    for (Case bad : {Case{0, 10}, Case{ContainerTableEnd(2) - 1, 1}, Case{size - 5, 6}, Case{size + 1, 0},
                     Case{UINT64_MAX - 4, 10}, Case{ContainerTableEnd(2), UINT64_MAX}}) {
        std::vector<std::uint8_t> bytes = container;
        PutLe64(Entry(bytes, 1) + 72, bad.offset);
        PutLe64(Entry(bytes, 1) + 80, bad.length);
        EXPECT_NE(Refusal(bytes).find("outside"), std::string::npos) << bad.offset << "+" << bad.length;
    }
    std::vector<std::uint8_t> truncated(container.begin(), container.end() - 1);
    EXPECT_NE(Refusal(truncated).find("outside"), std::string::npos);
}

TEST(ImageParser, RefusesOverlappingItemsButAllowsEmptyOnes) {
    std::vector<std::uint8_t> container = Container({Payload(10, 1), Payload(20, 2), {}});
    std::vector<std::uint8_t> overlap = container;
    PutLe64(Entry(overlap, 1) + 72, ContainerTableEnd(3) + 9);
    PutLe64(Entry(overlap, 1) + 80, 2);
    EXPECT_NE(Refusal(overlap).find("overlap"), std::string::npos);
    std::vector<std::uint8_t> same = container;
    std::memcpy(Entry(same, 1) + 72, Entry(same, 0) + 72, 16);
    EXPECT_NE(Refusal(same).find("overlap"), std::string::npos);

    std::vector<std::uint8_t> emptyInside = container;
    PutLe64(Entry(emptyInside, 2) + 72, ContainerTableEnd(3) + 5);
    std::string error;
    EXPECT_TRUE(Parse(emptyInside, error)) << error;
}

TEST(ImageParser, NeverReadsOutsideTruncationsOfAValidContainer) {
    std::vector<std::uint8_t> container = Container({Payload(100, 1), Payload(50, 2), Payload(7, 3)});
    for (std::size_t size = 0; size < container.size(); ++size) {
        std::vector<std::uint8_t> cut(container.begin(), container.begin() + static_cast<std::ptrdiff_t>(size));
        std::string error;
        EXPECT_FALSE(Parse(cut, error)) << size;
    }
}

}  // namespace
}  // namespace tandrel::sim
