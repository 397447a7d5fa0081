#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/UILayoutNode.h"

// Reads a dialog layout (an XML document, any encoding XmlLite detects) into its element tree. False, with
// the reason in error, for a document that is not well-formed, holds a DTD, nests deeper than
// kMaxLayoutDepth, has more than kMaxLayoutElements elements, or when XmlLite is not available. Elements only:
// text content and comments are ignored.
constexpr int kMaxLayoutDepth = 32;
constexpr size_t kMaxLayoutElements = 4096;
bool ReadUILayout(const std::vector<uint8_t>& bytes, UILayoutNode& root, std::wstring& error);
