#include "jet/row/stored_rows.h"

#include "jet/error.h"
#include "jet/file/put_bytes.h"
#include "jet/page/data_page_format.h"
#include "jet/row/row_cursor.h"
#include "jet/row/row_reader.h"
#include "jet/row/value_decoder.h"
#include "utf16/encode.h"

namespace jet::write {

void forEachStoredRow(const PageStore& store, const Header& header, const TableDef& def,
                      const std::function<void(const StoredRow&)>& visit) {
  Pager pager(store.snapshot(), header.format.pageSize, 0);
  forEachStoredRow(pager, header, def, visit);
}

void forEachStoredRow(Pager& pager, const Header& header, const TableDef& def,
                      const std::function<void(const StoredRow&)>& visit) {
  const Format& f = header.format;
  ValueDecoder decoder(pager, header);
  RowCracker cracker;
  std::vector<FieldSlice> fields;
  StoredRow row;
  for (const std::uint32_t pageNumber : tableDataPages(pager, f, def)) {
    const Page page = pager.page(pageNumber);
    const ByteView view(*page);
    for (unsigned r = 0; r < dataRowCount(view, f); ++r) {
      RowBounds bounds = rowBounds(view, f, r);
      if (bounds.deleted()) continue;
      row.slot = rowPointer(pageNumber, static_cast<std::uint8_t>(r));
      row.data = row.slot;
      Page holder = page;
      ByteView bytes = view.subspan(bounds.start, bounds.end - bounds.start);
      if (bounds.overflow()) {
        row.data = u32(bytes, 0);
        const RowPointer target = RowPointer::decode(row.data);
        holder = pager.page(target.page);
        const ByteView targetView(*holder);
        if (target.row >= dataRowCount(targetView, f))
          throw damaged("an overflow pointer names a missing row");
        const RowBounds tb = rowBounds(targetView, f, target.row);
        bytes = targetView.subspan(tb.start, tb.end - tb.start);
      }
      cracker.crack(bytes, def, f, fields);
      row.values.resize(def.columns.size());
      for (std::size_t i = 0; i < def.columns.size(); ++i)
        decoder.decode(def.columns[i], fields[i], row.values[i]);
      visit(row);
    }
  }
}

convert::Value toWritable(const Value& value) {
  return std::visit(
      [](const auto& x) -> convert::Value {
        using T = std::decay_t<decltype(x)>;
        if constexpr (std::is_same_v<T, std::string>) {
          auto units = utf16::utf8ToUtf16(x);
          if (!units) throw Error(errc::kFailure, "A stored text is not valid Unicode.");
          return std::move(*units);
        } else if constexpr (std::is_same_v<T, std::int64_t>) {
          throw Error(errc::kFailure, "Large Number values cannot be written by this engine yet.");
        } else {
          return x;
        }
      },
      value);
}

}  // namespace jet::write
