// How the Access providers present engine columns and values: the ADO type
// of each Access column type (Date/Time Extended as adVarWChar text, since
// no ADO date type holds its range and precision; complex columns as the
// adInteger key the providers show), and engine values as Variants.
#pragma once

#include "ado/variant.h"
#include "jet/table_def.h"
#include "jet/value.h"

namespace ado::access {

int adoTypeOf(const jet::ColumnDef& column);

// Converts `value`, moving text and bytes out of it.
Variant toVariant(jet::Value&& value);

}  // namespace ado::access
