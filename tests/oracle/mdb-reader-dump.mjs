// Prints what mdb-reader sees in an Access file, in the line formats of
// `accessdb tables|columns|export`, so that the two can be compared line
// by line:
//   node mdb-reader-dump.mjs tables  FILE [--password P]
//   node mdb-reader-dump.mjs columns FILE TABLE [--password P]
//   node mdb-reader-dump.mjs export  FILE TABLE [--password P]
// mdb-reader knows storage types, not the provider's schema rows, so
// `tables` prints its own three categories (TABLE, SYSTEM TABLE, LINK)
// and leaves mapping them to the provider's table types to the caller.
import { readFileSync } from "node:fs";
import MDBReader from "mdb-reader";
import { formatValue } from "./canonical.mjs";

// The ADO field type each storage type surfaces as. A complex column shows
// its key, a long integer; an extended date/time arrives as text.
const adoTypes = {
  boolean: [11, "adBoolean"],
  byte: [17, "adUnsignedTinyInt"],
  integer: [2, "adSmallInt"],
  long: [3, "adInteger"],
  currency: [6, "adCurrency"],
  float: [4, "adSingle"],
  double: [5, "adDouble"],
  datetime: [7, "adDate"],
  binary: [204, "adVarBinary"],
  text: [202, "adVarWChar"],
  ole: [205, "adLongVarBinary"],
  memo: [203, "adLongVarWChar"],
  repid: [72, "adGUID"],
  numeric: [131, "adNumeric"],
  complex: [3, "adInteger"],
  bigint: [20, "adBigInt"],
  datetimextended: [202, "adVarWChar"],
};

function parseArguments(argv) {
  const positional = [];
  let password;
  for (let i = 0; i < argv.length; ++i) {
    if (argv[i] === "--password") {
      if (i + 1 >= argv.length) throw new Error("--password needs a value");
      password = argv[++i];
    } else {
      positional.push(argv[i]);
    }
  }
  const [command, file, table] = positional;
  const needsTable = command === "columns" || command === "export";
  if (!["tables", "columns", "export"].includes(command) || !file || needsTable !== !!table) {
    throw new Error("usage: mdb-reader-dump.mjs tables|columns|export FILE [TABLE] [--password P]");
  }
  return { command, file, table, password };
}

function listTables(reader) {
  const user = new Set(reader.getTableNames());
  const linked = reader
    .getTableNames({ normalTables: false, linkedTables: true })
    .filter((name) => !user.has(name));
  const system = reader
    .getTableNames({ normalTables: false, systemTables: true })
    .filter((name) => !user.has(name));
  const lines = [];
  for (const name of user) lines.push(`TABLE\t${name}`);
  for (const name of system) lines.push(`SYSTEM TABLE\t${name}`);
  for (const name of linked) lines.push(`LINK\t${name}`);
  return lines;
}

function listColumns(table) {
  return table.getColumns().map((column) => {
    const [number, name] = adoTypes[column.type] ?? [0, `unknown:${column.type}`];
    return `${column.name}\t${number}\t${name}`;
  });
}

function exportRows(table) {
  const columns = table.getColumns();
  return table.getData().map((row) =>
    columns.map((column) => formatValue(column.type, row[column.name])).join("\t"));
}

function main() {
  const { command, file, table, password } = parseArguments(process.argv.slice(2));
  const reader = new MDBReader(readFileSync(file), password === undefined ? undefined : { password });
  let lines;
  if (command === "tables") lines = listTables(reader);
  else if (command === "columns") lines = listColumns(reader.getTable(table));
  else lines = exportRows(reader.getTable(table));
  process.stdout.write(lines.map((line) => line + "\n").join(""));
}

try {
  main();
} catch (error) {
  process.stderr.write(`mdb-reader: ${error.message}\n`);
  process.exitCode = 1;
}
