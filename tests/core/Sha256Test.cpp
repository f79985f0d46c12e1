#include <gtest/gtest.h>

#include <string>

#include "platform/Sha256.h"

namespace tandrel {
namespace {

std::string HashText(const std::string& text) { return HexOf(Sha256Of(text.data(), text.size())); }

TEST(Sha256, MatchesTheStandardTestVectors) {
    EXPECT_EQ(HashText(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(HashText("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(HashText("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(HashText(std::string(1000000, 'a')), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(Sha256, GivesTheSameDigestWhateverTheChunking) {
    std::string text;
    for (int i = 0; i < 1000; ++i) text += static_cast<char>(i * 7);
    Digest whole = Sha256Of(text.data(), text.size());
    for (std::size_t step : {1u, 3u, 55u, 56u, 63u, 64u, 65u, 999u}) {
        Sha256 sha;
        for (std::size_t at = 0; at < text.size(); at += step) sha.Update(text.data() + at, std::min(step, text.size() - at));
        EXPECT_EQ(sha.Finish(), whole) << "step " << step;
    }
}

TEST(Sha256, HexRoundTripsAndRejectsMalformedText) {
    Digest digest = Sha256Of("x", 1);
    Digest back{};
    ASSERT_TRUE(ParseHexDigest(HexOf(digest), back));
    EXPECT_EQ(back, digest);
    EXPECT_FALSE(ParseHexDigest("abc", back));
    EXPECT_FALSE(ParseHexDigest(std::string(63, '0') + "g", back));
}

}  // namespace
}  // namespace tandrel
