// ParallelDeflate: the pieces join into one zlib stream that inflates to
// the input, whatever the number of workers and however the input is
// claimed; the bytes made do not depend on the workers; matches reach back
// across the cuts; a sink that refuses stops the stream.

#include <gtest/gtest.h>

#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/cg/ParallelDeflate.h"

using qm::cg::ParallelDeflate;

namespace {

constexpr std::size_t kPiece = ParallelDeflate::kPieceBytes;

// Text-like input: a block of pseudo-random bytes repeated at a distance
// that crosses the cuts between pieces, with a changing byte now and then.
std::vector<unsigned char> Input(std::size_t size)
{
    std::vector<unsigned char> block(7001);
    unsigned state = 12345;
    for (unsigned char& b : block) {
        state = state * 1103515245u + 12345u;
        b = static_cast<unsigned char>(state >> 16);
    }
    std::vector<unsigned char> data(size);
    for (std::size_t i = 0; i < size; ++i)
        data[i] = i % 997 == 0 ? static_cast<unsigned char>(i / 997) : block[i % block.size()];
    return data;
}

// The stream made from data claimed `claim` bytes at a time (the last
// claim shorter), or empty with `ok` false.
std::vector<unsigned char> Deflate(
    const std::vector<unsigned char>& data, std::size_t claim, int workers, bool& ok)
{
    std::vector<unsigned char> out;
    ParallelDeflate stream(1, workers, [&](const unsigned char* bytes, std::size_t n) {
        out.insert(out.end(), bytes, bytes + n);
        return true;
    });
    ok = true;
    for (std::size_t at = 0; at < data.size() && ok; at += claim) {
        const std::size_t n = std::min(claim, data.size() - at);
        unsigned char* room = stream.Claim(n);
        ok = room != nullptr;
        if (ok)
            std::memcpy(room, data.data() + at, n);
    }
    ok = ok && stream.Finish();
    return out;
}

bool Inflate(const std::vector<unsigned char>& stream, std::vector<unsigned char>& out, std::size_t size)
{
    out.assign(size + 1, 0);
    uLongf length = static_cast<uLongf>(out.size());
    if (uncompress(out.data(), &length, stream.data(), static_cast<uLong>(stream.size())) != Z_OK)
        return false;
    out.resize(length);
    return true;
}

} // namespace

TEST(ParallelDeflate, PiecesJoinIntoOneStreamOfTheInput)
{
    struct Case
    {
        std::size_t size;
        std::size_t claim;
    };
    const Case cases[] = {
        {0, 1}, {1, 1}, {kPiece - 1, 2404}, {kPiece, kPiece}, {kPiece + 1, 2404},
        {3 * kPiece + kPiece / 2, 3205}, {2 * kPiece + 10, 2 * kPiece}, // a claim larger than a piece
        {9 * kPiece + 77, 64 * 1024},                                   // more pieces than the ring holds
    };
    for (const Case& c : cases) {
        const std::vector<unsigned char> data = Input(c.size);
        std::vector<unsigned char> first;
        for (int workers : {0, 1, 3}) {
            const std::string name
                = std::to_string(c.size) + " bytes, " + std::to_string(workers) + " workers";
            bool ok = false;
            const std::vector<unsigned char> stream = Deflate(data, c.claim, workers, ok);
            ASSERT_TRUE(ok) << name;
            std::vector<unsigned char> back;
            ASSERT_TRUE(Inflate(stream, back, c.size)) << name;
            EXPECT_TRUE(back == data) << name;
            if (workers == 0)
                first = stream;
            else
                EXPECT_TRUE(stream == first) << name << ": the bytes depend on the workers";
        }
        // The dictionaries keep the matches across the cuts: the pieces
        // cost next to nothing over one stream of the whole input.
        std::vector<unsigned char> whole(compressBound(static_cast<uLong>(c.size)));
        uLongf wholeSize = static_cast<uLongf>(whole.size());
        ASSERT_EQ(Z_OK, compress2(whole.data(), &wholeSize, data.data(), static_cast<uLong>(c.size), 1));
        EXPECT_LE(first.size(), wholeSize + wholeSize / 100 + 16 * (c.size / kPiece + 1)) << c.size;
    }
}

TEST(ParallelDeflate, ASinkThatRefusesStopsTheStream)
{
    for (int workers : {0, 2}) {
        int calls = 0;
        ParallelDeflate stream(1, workers, [&](const unsigned char*, std::size_t) { return ++calls < 2; });
        const std::vector<unsigned char> data = Input(kPiece);
        bool refused = false;
        for (int i = 0; i < 40 && !refused; ++i) {
            unsigned char* room = stream.Claim(data.size());
            refused = room == nullptr;
            if (room)
                std::memcpy(room, data.data(), data.size());
        }
        EXPECT_TRUE(refused) << workers;
        EXPECT_FALSE(stream.Finish()) << workers;
        EXPECT_EQ(nullptr, stream.Claim(1)) << workers;
    }
}
