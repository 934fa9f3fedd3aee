// The delete question, without a display: the count goes in as plain decimal, however large.
#include "filelist/listtexts.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

TEST(ListTexts, QuestionCarriesThePlainCount)
{
    const std::vector<std::pair<int, std::string>> cases = {
        {1, "選択された1個のファイルを削除します。"},
        {3, "選択された3個のファイルを削除します。"},
        {1000, "選択された1000個のファイルを削除します。"},
        {1234, "選択された1234個のファイルを削除します。"},
        {100000, "選択された100000個のファイルを削除します。"},
    };
    for (const auto& [count, text] : cases)
        EXPECT_EQ(DeleteQuestion(count), text) << count;
}

} // namespace
