#pragma once
// Keyed scrambling of the user's code blocks into printable text and back, so the
// read-back can hold every block of an opened file in memory until the next run.
// Texts are coded as UTF-8, so any UTF-16 text (lone surrogates included) survives.
#include <cstdint>
#include <string>

namespace UserBlockCoding {

// The coded text, or "error#1" for a blank text.
std::wstring EncodeUserBlock(const std::wstring& text, const std::wstring& callerKey = {});
// The text that was coded, or "error#2", "error#3", "error#4", "error#6", "error#7", "error #8".
std::wstring DecodeUserBlock(const std::wstring& coded, const std::wstring& callerKey = {});

// Three bytes to four alphabet characters; a short last group gives two or three.
std::wstring PackBytes(const std::string& bytes);
// The reverse; characters outside the alphabet count as 0.
std::string UnpackText(const std::wstring& packed);
// The keyed stream from a 16-bit start value; only the first (size mod 65536) bytes change.
std::string StreamEncode(std::string bytes, uint16_t start);
std::string StreamDecode(std::string bytes, uint16_t start);
// A wrapped caller key to its plain form, or "error" when it is damaged.
std::wstring UnwrapCallerKey(const std::wstring& key);

// Lossless UTF-16 <-> UTF-8 (an unpaired surrogate is carried as its own 3-byte form).
std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& bytes);

}  // namespace UserBlockCoding
