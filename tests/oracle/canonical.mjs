// The text form `accessdb export` gives each value, rebuilt from the
// JavaScript values mdb-reader returns.

const MS_PER_DAY = 86400000;
// Milliseconds from 1970-01-01 back to 1899-12-30, the day Access counts from.
const ACCESS_EPOCH_MS = -25569 * MS_PER_DAY;

export function escapeText(text) {
  return text.replace(/[\\\t\r\n]/g, (c) => ({ "\\": "\\\\", "\t": "\\t", "\r": "\\r", "\n": "\\n" })[c]);
}

// "3.5000" -> "3.5", "-0.0000" -> "0", "12.000" -> "12".
export function trimDecimal(text) {
  let result = text.includes(".") ? text.replace(/0+$/, "").replace(/\.$/, "") : text;
  result = result.replace(/^(-?)0+(?=\d)/, "$1");
  return result === "-0" ? "0" : result;
}

// Lays out shortest round-trip digits the way C++ std::to_chars does
// without a format: plain or scientific notation, whichever is shorter,
// plain on a tie; the exponent has a sign and at least two digits.
// `digits` holds no leading or trailing zeros; the value is
// 0.d1d2d3... x 10^pointPosition. A whole number written plainly gets
// all its exact digits, not the shortest digits padded with zeros.
export function layoutShortest(value, digits, pointPosition) {
  const sign = value < 0 ? "-" : "";
  let plain;
  if (pointPosition <= 0) plain = "0." + "0".repeat(-pointPosition) + digits;
  else if (pointPosition >= digits.length) plain = BigInt(Math.abs(value)).toString();
  else plain = digits.slice(0, pointPosition) + "." + digits.slice(pointPosition);
  const exponent = pointPosition - 1;
  const mantissa = digits.length > 1 ? digits[0] + "." + digits.slice(1) : digits;
  const exponentText = (exponent < 0 ? "-" : "+") + String(Math.abs(exponent)).padStart(2, "0");
  const scientific = mantissa + "e" + exponentText;
  return sign + (scientific.length < plain.length ? scientific : plain);
}

// Splits a number's exponential text ("1.2345e-7") into its digits and
// point position.
function decompose(exponentialText) {
  const match = /^(-?)(\d)(?:\.(\d+))?e([+-]\d+)$/.exec(exponentialText);
  const digits = (match[2] + (match[3] ?? "")).replace(/0+$/, "");
  return { negative: match[1] === "-", digits, pointPosition: Number(match[4]) + 1 };
}

function formatSpecial(value) {
  if (Number.isNaN(value)) return "nan";
  if (value === Infinity) return "inf";
  if (value === -Infinity) return "-inf";
  if (value === 0) return Object.is(value, -0) ? "-0" : "0";
  return null;
}

// JavaScript already prints a double with the fewest digits that read back.
export function formatDouble(value) {
  const special = formatSpecial(value);
  if (special !== null) return special;
  const { digits, pointPosition } = decompose(value.toExponential());
  return layoutShortest(value, digits, pointPosition);
}

// A double as an exact fraction numerator / 2^shift.
function exactBinary(value) {
  const view = new DataView(new ArrayBuffer(8));
  view.setFloat64(0, Math.abs(value));
  const bits = view.getBigUint64(0);
  const biased = Number(bits >> 52n);
  const fraction = bits & ((1n << 52n) - 1n);
  const mantissa = biased === 0 ? fraction : fraction | (1n << 52n);
  const exponent = (biased === 0 ? 1 : biased) - 1075;
  return exponent >= 0 ? { numerator: mantissa << BigInt(exponent), shift: 0n }
                       : { numerator: mantissa, shift: BigInt(-exponent) };
}

// |digits x 10^exponent - value| as an exact fraction over a denominator
// common to every call with the same value and exponent.
function exactDistance(digits, exponent, value) {
  const { numerator, shift } = exactBinary(value);
  const decimalScale = exponent < 0 ? 10n ** BigInt(-exponent) : 1n;
  const candidate = BigInt(digits) * (exponent > 0 ? 10n ** BigInt(exponent) : 1n) * (1n << shift);
  const target = numerator * decimalScale;
  return candidate > target ? candidate - target : target - candidate;
}

// A Single arrives widened to a double; it needs the fewest digits that read
// back to the same 32-bit float. Rounding to p digits can land just outside
// the float's rounding interval where the interval is lopsided (at a power of
// two), so the neighbours of the rounded candidate are tried as well; of
// the candidates that read back the one closest to the value wins, and of
// two equally close the one ending in an even digit (as std::to_chars does,
// where JavaScript would round the tie away from zero).
export function formatSingle(value) {
  const special = formatSpecial(value);
  if (special !== null) return special;
  const magnitude = Math.abs(value);
  for (let precision = 1; precision <= 9; ++precision) {
    const rounded = decompose(magnitude.toExponential(precision - 1));
    const base = BigInt(rounded.digits.padEnd(precision, "0"));
    const exponent = rounded.pointPosition - precision;
    let best = null;
    for (const step of [0n, -1n, 1n]) {
      const digits = (base + step).toString();
      if (digits.length !== precision) continue;
      if (Math.fround(Number(`${digits}e${exponent}`)) !== magnitude) continue;
      const distance = exactDistance(digits, exponent, magnitude);
      const even = Number(digits.at(-1)) % 2 === 0;
      if (best === null || distance < best.distance || (distance === best.distance && even)) {
        best = { digits, distance };
      }
    }
    if (best !== null) {
      const shortest = decompose(Number(`${best.digits}e${exponent}`).toExponential());
      return layoutShortest(value, shortest.digits, shortest.pointPosition);
    }
  }
  throw new Error(`no round-trip form for single ${value}`);
}

// mdb-reader turns the day count into milliseconds since 1970 linearly.
// Access counts days before 1899-12-30 backwards but the time of day
// forwards, so such values are taken apart again: the whole days stay,
// the time of day counts from midnight of that day.
export function formatDate(date) {
  let sinceEpoch = date.getTime() - ACCESS_EPOCH_MS;
  if (sinceEpoch < 0 && sinceEpoch % MS_PER_DAY !== 0) {
    const wholeDays = Math.trunc(sinceEpoch / MS_PER_DAY);
    const timeOfDay = wholeDays * MS_PER_DAY - sinceEpoch;
    sinceEpoch = wholeDays * MS_PER_DAY + timeOfDay;
  }
  const instant = new Date(sinceEpoch + ACCESS_EPOCH_MS);
  const pad = (n, width = 2) => String(n).padStart(width, "0");
  const day = [pad(instant.getUTCFullYear(), 4), pad(instant.getUTCMonth() + 1), pad(instant.getUTCDate())];
  const time = [instant.getUTCHours(), instant.getUTCMinutes(), instant.getUTCSeconds()].map((n) => pad(n));
  let text = `${day.join("-")} ${time.join(":")}`;
  const millis = instant.getUTCMilliseconds();
  if (millis !== 0) text += "." + pad(millis, 3).replace(/0+$/, "");
  return text;
}

// mdb-reader writes "YYYY.MM.DD HH:MM:SS.nnnnnnnnn".
export function formatDateTimeExtended(text) {
  const match = /^(\d{4})\.(\d\d)\.(\d\d) (\d\d:\d\d:\d\d)\.(\d{9})$/.exec(text);
  if (!match) throw new Error(`unexpected extended date/time "${text}"`);
  const fraction = match[5].replace(/0+$/, "");
  return `${match[1]}-${match[2]}-${match[3]} ${match[4]}` + (fraction ? "." + fraction : "");
}

export function formatGuid(text) {
  return `{${text.toUpperCase()}}`;
}

export function formatValue(type, value) {
  if (value === null || value === undefined) return "\\N";
  switch (type) {
    case "boolean":
      return value ? "1" : "0";
    case "byte":
    case "integer":
    case "long":
    case "bigint":
      return value.toString();
    case "currency":
    case "numeric":
      return trimDecimal(value);
    case "float":
      return formatSingle(value);
    case "double":
      return formatDouble(value);
    case "datetime":
      return formatDate(value);
    case "datetimextended":
      return formatDateTimeExtended(value);
    case "repid":
      return formatGuid(value);
    case "binary":
    case "ole":
      return value.toString("hex");
    case "text":
    case "memo":
      return escapeText(value);
    default:
      // Complex values arrive decoded (attachments), never as the key the
      // provider shows; the caller lists such columns as not comparable.
      return `<${type}>`;
  }
}
