#include "remote/AnnouncingSocketLayer.h"

#include "support/FixedResolver.h"

#include <gtest/gtest.h>

namespace vorlu {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(AnnouncingSocketLayer, TheResolverWinsAndAnnouncementsFillItsGaps)
{
    auto book = std::make_shared<AnnouncedAddresses>();
    book->remember("Alpha", {192, 168, 1, 10});
    book->remember("BRAVO", {192, 168, 1, 11});
    book->remember("bravo", {192, 168, 1, 12}); // a later scan replaces the address
    book->remember("ÆGIR", {192, 168, 1, 13});
    auto resolver = std::make_unique<test::FixedResolver>(
        std::map<std::string, Bytes>{{"alpha", {10, 0, 0, 1}}, {"mail", {10, 0, 0, 2}}});
    test::FixedResolver& system = *resolver;
    system.answer.error = 10091;
    AnnouncingSocketLayer layer(std::move(resolver), book);

    const struct {
        const char* name;
        std::optional<Bytes> address;
    } cases[] = {
        {"alpha", Bytes{10, 0, 0, 1}},      // both know it: the resolver's answer
        {"mail", Bytes{10, 0, 0, 2}},       // only the resolver
        {"ALPHA", Bytes{192, 168, 1, 10}},  // the resolver here matches exact names only
        {"Bravo", Bytes{192, 168, 1, 12}},  // only announced, any case
        {"ægir", Bytes{192, 168, 1, 13}},   // beyond ASCII too
        {"charlie", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(layer.resolve(c.name), c.address) << c.name;

    EXPECT_EQ(layer.startup(0x0202).error, 10091) << "start-up is the wrapped layer's";
    EXPECT_EQ(system.lastRequested, 0x0202);
}

} // namespace
} // namespace vorlu
