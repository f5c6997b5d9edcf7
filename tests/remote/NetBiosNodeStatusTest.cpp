// The NetBIOS node status packet: the request's bytes, the computer's name
// from an answer, and answers broken or hostile in every field.
#include "remote/NetBiosNodeStatus.h"

#include <gtest/gtest.h>

#include <random>

namespace vorlu {
namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& b, std::uint16_t v)
{
    b.push_back(static_cast<std::uint8_t>(v >> 8));
    b.push_back(static_cast<std::uint8_t>(v));
}

struct Name {
    std::string text;
    std::uint8_t suffix;
    std::uint16_t flags;
};

// An answer as a Windows computer or nmbd sends it.
Bytes answer(std::uint16_t id, const std::vector<Name>& names)
{
    Bytes b;
    put16(b, id);
    put16(b, 0x8400);
    put16(b, 0);
    put16(b, 1);
    put16(b, 0);
    put16(b, 0);
    const Bytes request = nodeStatusRequest(id);
    b.insert(b.end(), request.begin() + 12, request.begin() + 12 + 34); // the question's name
    put16(b, 0x0021);
    put16(b, 0x0001);
    b.insert(b.end(), {0, 0, 0, 0});
    put16(b, static_cast<std::uint16_t>(1 + names.size() * 18 + 46));
    b.push_back(static_cast<std::uint8_t>(names.size()));
    for (const Name& n : names) {
        std::string padded = n.text;
        padded.resize(15, ' ');
        b.insert(b.end(), padded.begin(), padded.end());
        b.push_back(n.suffix);
        put16(b, n.flags);
    }
    b.insert(b.end(), 46, 0); // statistics, MAC address first
    return b;
}

std::optional<std::string> read(const Bytes& b, std::uint16_t id, std::string* problem = nullptr)
{
    return readNodeStatusName(b.data(), b.size(), id, problem);
}

TEST(NetBiosNodeStatus, RequestAsksForTheWildcardNodeStatus)
{
    const Bytes r = nodeStatusRequest(0xBEEF);
    ASSERT_EQ(r.size(), 50u);
    EXPECT_EQ(r[0], 0xBE);
    EXPECT_EQ(r[1], 0xEF);
    EXPECT_EQ(r[5], 1); // one question
    EXPECT_EQ(r[12], 32);
    EXPECT_EQ(std::string(r.begin() + 13, r.begin() + 45), "CKAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA");
    EXPECT_EQ(r[45], 0);
    EXPECT_EQ(Bytes(r.end() - 4, r.end()), (Bytes{0, 0x21, 0, 1}));
}

TEST(NetBiosNodeStatus, TakesTheFirstUniqueWorkstationName)
{
    const Bytes b = answer(7, {{"SCANLAB", 0x00, 0x8400}, // a group: the workgroup
                               {"SRV-FILES", 0x20, 0x0400},
                               {"SRV-FILES", 0x00, 0x0400}});
    std::string problem;
    EXPECT_EQ(read(b, 7, &problem), "SRV-FILES") << problem;
}

TEST(NetBiosNodeStatus, RefusesBrokenAndHostileAnswers)
{
    const Bytes good = answer(7, {{"PC-7", 0x00, 0x0400}});
    struct Case {
        const char* what;
        Bytes packet;
        std::uint16_t id;
    };
    auto changed = [&](std::size_t at, std::uint8_t value) {
        Bytes b = good;
        b.at(at) = value;
        return b;
    };
    const std::size_t rdLength = 12 + 34 + 8;
    std::vector<Case> cases = {
        {"empty", {}, 7},
        {"header only", Bytes(good.begin(), good.begin() + 12), 7},
        {"another transaction", good, 8},
        {"a request", changed(2, 0x04), 7},
        {"an error code", changed(3, 0x03), 7},
        {"no record", changed(7, 0), 7},
        {"names counted past the end", changed(rdLength + 2, 200), 7},
        {"data length past the end", changed(rdLength, 0xFF), 7},
        {"not node status", changed(12 + 34 + 1, 0x20), 7},
        {"unknown label form", changed(12, 0x80), 7},
        {"only groups", answer(7, {{"WG", 0x00, 0x8000}}), 7},
        {"a control character in the name", answer(7, {{"PC\x1b[2J", 0x00, 0}}), 7},
        {"cut inside the names", Bytes(good.begin(), good.end() - 50), 7},
    };
    for (const Case& c : cases) {
        std::string problem;
        EXPECT_FALSE(read(c.packet, c.id, &problem)) << c.what;
        EXPECT_FALSE(problem.empty()) << c.what;
    }
    // A compressed name pointing back at the question is read like a whole one.
    Bytes pointer(good.begin(), good.begin() + 12);
    pointer.push_back(0xC0);
    pointer.push_back(0x0C);
    pointer.insert(pointer.end(), good.begin() + 12 + 34, good.end());
    EXPECT_EQ(read(pointer, 7), "PC-7");
}

TEST(NetBiosNodeStatus, RandomBytesNeverCrashOrReadPastTheEnd)
{
    std::mt19937 random(22);
    const Bytes good = answer(1, {{"PC-1", 0x00, 0}, {"PC-1", 0x20, 0}});
    for (int trial = 0; trial < 20000; ++trial) {
        Bytes b = good;
        b.resize(random() % (good.size() + 8));
        for (int flips = random() % 6; flips > 0 && !b.empty(); --flips)
            b[random() % b.size()] = static_cast<std::uint8_t>(random());
        // Exactly sized, so a read past the end shows under the sanitizers.
        std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[b.size() + 1]);
        std::copy(b.begin(), b.end(), exact.get());
        (void)readNodeStatusName(exact.get(), b.size(), 1);
    }
}

} // namespace
} // namespace vorlu
