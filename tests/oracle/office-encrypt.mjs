// Encrypts a plain Access 2007+ file with one of the CryptoAPI-era Office
// schemes, or decrypts such a file again, independently of the engine, so
// that the engine's reading and writing of schemes no fixture shows can be
// checked against a second implementation (and the decrypted file against
// mdbtools):
//   node office-encrypt.mjs encrypt SCHEME PLAIN OUT PASSWORD
//   node office-encrypt.mjs decrypt SCHEME ENCRYPTED OUT PASSWORD
// SCHEME: rc4-40, rc4-128, standard-aes128, standard-aes192,
// standard-aes256, aes-without-flag (a CryptoAPI header naming AES-128
// without the AES flag: Standard keys without the hash iterations).
import { readFileSync, writeFileSync } from "node:fs";
import { createCipheriv, createDecipheriv, createHash, randomBytes } from "node:crypto";

const PAGE = 4096;
const INFO_AT = 0x299;
const KEY_AT = 0x3e;
const HEADER_MASK_KEY = Buffer.from([0xc7, 0xda, 0x39, 0x6b]);

const schemes = {
  "rc4-40": { aes: false, flags: 0x04, algorithm: 0x6801, keyBits: 40, spins: 0 },
  "rc4-128": { aes: false, flags: 0x04, algorithm: 0x6801, keyBits: 128, spins: 0 },
  "standard-aes128": { aes: true, flags: 0x24, algorithm: 0x660e, keyBits: 128, spins: 50000 },
  "standard-aes192": { aes: true, flags: 0x24, algorithm: 0x660f, keyBits: 192, spins: 50000 },
  "standard-aes256": { aes: true, flags: 0x24, algorithm: 0x6610, keyBits: 256, spins: 50000 },
  "aes-without-flag": { aes: true, flags: 0x04, algorithm: 0x660e, keyBits: 128, spins: 0 },
};

function rc4(key, data) {
  const s = [...Array(256).keys()];
  for (let i = 0, j = 0; i < 256; ++i) {
    j = (j + s[i] + key[i % key.length]) & 255;
    [s[i], s[j]] = [s[j], s[i]];
  }
  const out = Buffer.alloc(data.length);
  for (let n = 0, i = 0, j = 0; n < data.length; ++n) {
    i = (i + 1) & 255;
    j = (j + s[i]) & 255;
    [s[i], s[j]] = [s[j], s[i]];
    out[n] = data[n] ^ s[(s[i] + s[j]) & 255];
  }
  return out;
}

const sha1 = (...parts) => createHash("sha1").update(Buffer.concat(parts)).digest();
const le32 = (n) => {
  const b = Buffer.alloc(4);
  b.writeUInt32LE(n >>> 0);
  return b;
};

function passwordHash(scheme, salt, password) {
  let h = sha1(salt, Buffer.from(password, "utf16le"));
  for (let i = 0; i < scheme.spins; ++i) h = sha1(le32(i), h);
  return h;
}

function keyFor(scheme, hash, block) {
  const final = sha1(hash, block);
  if (!scheme.aes) {
    const key = final.subarray(0, scheme.keyBits / 8);
    return scheme.keyBits === 40 ? Buffer.concat([key, Buffer.alloc(11)]) : key;
  }
  const pad = (c) => {
    const b = Buffer.alloc(64, c);
    for (let i = 0; i < final.length; ++i) b[i] ^= final[i];
    return b;
  };
  return Buffer.concat([sha1(pad(0x36)), sha1(pad(0x5c))]).subarray(0, scheme.keyBits / 8);
}

function aes(encrypt, key, data) {
  const make = encrypt ? createCipheriv : createDecipheriv;
  const c = make(`aes-${key.length * 8}-ecb`, key, null).setAutoPadding(false);
  return Buffer.concat([c.update(data), c.final()]);
}

function crypt(scheme, encrypt, key, data) {
  return scheme.aes ? aes(encrypt, key, data) : rc4(key, data);
}

function headerMask(page) {
  page.set(rc4(HEADER_MASK_KEY, page.subarray(0x18, 0x18 + 128)), 0x18);
}

function encryptionInfo(scheme, salt, hash) {
  const provider = Buffer.from(
    (scheme.aes ? "Microsoft Enhanced RSA and AES Cryptographic Provider" : "Microsoft Enhanced Cryptographic Provider v1.0") + "\0",
    "utf16le");
  const header = Buffer.concat([
    le32(scheme.flags), le32(0), le32(scheme.algorithm), le32(0x8004), le32(scheme.keyBits),
    le32(scheme.aes ? 0x18 : 0x01), le32(0), le32(0), provider]);
  const verifier = randomBytes(16);
  const key = keyFor(scheme, hash, le32(0));
  let encryptedVerifier, encryptedHash;
  if (scheme.aes) {
    encryptedVerifier = aes(true, key, verifier);
    encryptedHash = aes(true, key, Buffer.concat([sha1(verifier), Buffer.alloc(12)]));
  } else {
    const both = rc4(key, Buffer.concat([verifier, sha1(verifier)]));
    encryptedVerifier = both.subarray(0, 16);
    encryptedHash = both.subarray(16);
  }
  const info = Buffer.concat([
    Buffer.from([4, 0, 2, 0]), le32(scheme.flags), le32(header.length), header,
    le32(16), salt, encryptedVerifier, le32(20), encryptedHash]);
  const block = Buffer.alloc(2);
  block.writeUInt16LE(info.length);
  return Buffer.concat([block, info]);
}

function saltOf(page) {
  const headerSize = page.readUInt32LE(INFO_AT + 2 + 8);
  const at = INFO_AT + 2 + 12 + headerSize + 4;
  return page.subarray(at, at + 16);
}

function main() {
  const [mode, name, input, output, password] = process.argv.slice(2);
  const scheme = schemes[name];
  if (!["encrypt", "decrypt"].includes(mode) || !scheme || !output || password === undefined) {
    throw new Error("usage: office-encrypt.mjs encrypt|decrypt SCHEME IN OUT PASSWORD");
  }
  const file = readFileSync(input);
  const page0 = file.subarray(0, PAGE);
  headerMask(page0);
  let databaseKey = page0.readUInt32LE(KEY_AT);
  const encrypt = mode === "encrypt";
  let salt;
  if (encrypt) {
    if (databaseKey !== 0) throw new Error("the file is encrypted already");
    databaseKey = (randomBytes(4).readUInt32LE() | 1) >>> 0;
    salt = randomBytes(16);
  } else {
    salt = Buffer.from(saltOf(page0));
  }
  const hash = passwordHash(scheme, salt, password);
  page0.writeUInt32LE(encrypt ? databaseKey : 0, KEY_AT);
  headerMask(page0);
  if (encrypt) encryptionInfo(scheme, salt, hash).copy(page0, INFO_AT);
  else page0.fill(0, INFO_AT, INFO_AT + 2 + page0.readUInt16LE(INFO_AT));
  for (let page = 1; page * PAGE < file.length; ++page) {
    const at = page * PAGE;
    const key = keyFor(scheme, hash, le32((databaseKey ^ page) >>> 0));
    crypt(scheme, encrypt, key, file.subarray(at, at + PAGE)).copy(file, at);
  }
  writeFileSync(output, file);
}

try {
  main();
} catch (error) {
  process.stderr.write(`office-encrypt: ${error.message}\n`);
  process.exitCode = 1;
}
