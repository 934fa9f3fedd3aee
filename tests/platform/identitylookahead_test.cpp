// The looks taken ahead of a run: each the look of its own name, however the run skips; a run
// given up half way ends at once.
#include "platform/identitylookahead.h"

#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <random>

namespace {

TEST(IdentityLookahead, EachLookIsItsOwnNamesWhateverTheRunSkips)
{
    TempFolder dir;
    constexpr std::size_t kFiles = 6000; // enough for the look-ahead's own thread
    std::vector<std::string> names;
    for (std::size_t i = 0; i < kFiles; ++i) {
        names.push_back("f" + std::to_string(i));
        dir.Write(names.back());
    }
    const platform::FolderHandle folder(dir.path());
    std::mt19937 rng(7);
    for (const bool halfWay : {false, true}) {
        platform::IdentityLookahead ahead(folder, kFiles, [&](std::size_t i) -> const std::string& { return names[i]; });
        for (std::size_t i = 0; i < (halfWay ? kFiles / 2 : kFiles);
             i += std::uniform_int_distribution<std::size_t>(1, 400)(rng)) {
            const auto expected = folder.IdentityOf(names[i]);
            ASSERT_TRUE(expected);
            EXPECT_EQ(ahead.Take(i), expected) << names[i];
        }
    }
}

} // namespace
