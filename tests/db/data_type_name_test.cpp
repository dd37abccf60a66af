#include "db/data_type_name.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// The published ADO DataTypeEnum members, written out independently of
// the table under test.
const std::vector<std::pair<int, std::string>>& publishedMembers() {
  static const std::vector<std::pair<int, std::string>> members{
      {0, "adEmpty"},
      {2, "adSmallInt"},
      {3, "adInteger"},
      {4, "adSingle"},
      {5, "adDouble"},
      {6, "adCurrency"},
      {7, "adDate"},
      {8, "adBSTR"},
      {9, "adIDispatch"},
      {10, "adError"},
      {11, "adBoolean"},
      {12, "adVariant"},
      {13, "adIUnknown"},
      {14, "adDecimal"},
      {16, "adTinyInt"},
      {17, "adUnsignedTinyInt"},
      {18, "adUnsignedSmallInt"},
      {19, "adUnsignedInt"},
      {20, "adBigInt"},
      {21, "adUnsignedBigInt"},
      {64, "adFileTime"},
      {72, "adGUID"},
      {128, "adBinary"},
      {129, "adChar"},
      {130, "adWChar"},
      {131, "adNumeric"},
      {132, "adUserDefined"},
      {133, "adDBDate"},
      {134, "adDBTime"},
      {135, "adDBTimeStamp"},
      {136, "adChapter"},
      {138, "adPropVariant"},
      {139, "adVarNumeric"},
      {200, "adVarChar"},
      {201, "adLongVarChar"},
      {202, "adVarWChar"},
      {203, "adLongVarWChar"},
      {204, "adVarBinary"},
      {205, "adLongVarBinary"},
  };
  return members;
}

TEST(DataTypeName, NamesEveryPublishedMemberInItsExactCase) {
  ASSERT_EQ(publishedMembers().size(), 39u);
  for (const auto& [number, name] : publishedMembers()) {
    EXPECT_EQ(db::DataTypeName(number), name) << "type " << number;
  }
}

TEST(DataTypeName, NumbersOutsideTheTableGiveEmptyText) {
  for (int miss : {8192, 8192 + 202, 1, -1, 15, 137, 206, 32767, -32768}) {
    EXPECT_EQ(db::DataTypeName(miss), "") << "type " << miss;
  }
}

TEST(DataTypeName, EveryNumberFrom0To300OutsideTheTableMisses) {
  std::set<int> known;
  for (const auto& member : publishedMembers()) known.insert(member.first);
  for (int type = 0; type <= 300; ++type) {
    if (!known.count(type)) {
      EXPECT_EQ(db::DataTypeName(type), "") << "type " << type;
    }
  }
}

}  // namespace
