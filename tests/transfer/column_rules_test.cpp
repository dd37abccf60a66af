// The column type rules of both directions, by the source field's ADO type
// and declaration.
#include "transfer/column_rules.h"

#include <gtest/gtest.h>

#include "ado/data_type.h"
#include "db/data_type_name.h"
#include "transfer/transfer_direction.h"

namespace {

using transfer::ValueForm;

std::string lowered(int type) {
  std::string name = db::DataTypeName(type);
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name;
}

transfer::TargetColumn toAccess(int type, long long size = 0, int precision = 0, int scale = 0) {
  return transfer::ChooseTargetColumn(transfer::SybaseToAccess().columnRules,
                                      {lowered(type), size, precision, scale});
}

transfer::TargetColumn toSybase(int type) {
  return transfer::ChooseTargetColumn(transfer::AccessToSybase().columnRules, {lowered(type)});
}

TEST(ColumnRules, TowardAccessNoValueChangesByItsColumnType) {
  EXPECT_EQ(toAccess(ado::adNumeric, 0, 30, 6).typeText, " DECIMAL(28,6)");
  EXPECT_EQ(toAccess(ado::adDecimal, 0, 10, 2).typeText, " DECIMAL(10,2)");
  EXPECT_EQ(toAccess(139 /* adVarNumeric */, 0, 12, 40).typeText, " DECIMAL(12,12)");
  EXPECT_EQ(toAccess(ado::adSingle).typeText, " REAL");
  EXPECT_EQ(toAccess(ado::adBigInt).typeText, " DECIMAL(20,0)");
  EXPECT_EQ(toAccess(ado::adUnsignedInt).typeText, " DECIMAL(20,0)");
  EXPECT_EQ(toAccess(ado::adUnsignedBigInt).typeText, " DECIMAL(20,0)");
  EXPECT_EQ(toAccess(ado::adSmallInt).typeText, " INT");
  EXPECT_EQ(toAccess(ado::adVarChar, 255).typeText, " VARCHAR");
  EXPECT_EQ(toAccess(ado::adVarWChar, 256).typeText, " MEMO");
  EXPECT_EQ(toAccess(ado::adLongVarChar, 10).typeText, " MEMO");
  EXPECT_EQ(toAccess(ado::adLongVarWChar).typeText, " MEMO");
  EXPECT_EQ(toAccess(ado::adBinary, 510).typeText, " BINARY(510)");
  EXPECT_EQ(toAccess(ado::adVarBinary, 511).typeText, " OLEOBJECT");
  EXPECT_EQ(toAccess(ado::adLongVarBinary).form, ValueForm::kBytes);
  EXPECT_EQ(toAccess(ado::adDBTimeStamp).typeText, " DATETIME");
  EXPECT_EQ(toAccess(ado::adDouble).typeText, " FLOAT");
  EXPECT_EQ(toAccess(ado::adCurrency).typeText, " VARCHAR");
  EXPECT_EQ(toAccess(ado::adBoolean).typeText, " VARCHAR");
  EXPECT_EQ(toAccess(8192).typeText, " VARCHAR");
}

TEST(ColumnRules, TowardTheDataSourceIntegersAndCurrencyGoBare) {
  EXPECT_EQ(toSybase(ado::adUnsignedTinyInt).form, ValueForm::kNumber);
  EXPECT_EQ(toSybase(ado::adCurrency).typeText, " NUMERIC");
  EXPECT_EQ(toSybase(ado::adBoolean).form, ValueForm::kBit);
  EXPECT_EQ(toSybase(ado::adDouble).typeText, " TEXT");
  EXPECT_EQ(toSybase(ado::adDate).form, ValueForm::kQuoted);
  EXPECT_EQ(toSybase(ado::adLongVarBinary).typeText, " TEXT");
}

}  // namespace
