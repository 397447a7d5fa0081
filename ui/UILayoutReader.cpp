#include "ui/UILayoutReader.h"

#include <windows.h>

#include <objidl.h>
#include <shlwapi.h>
#include <xmllite.h>

#include "app/SystemUtils.h"

#include <cstdio>

namespace {

// The toolchain ships no import library for XmlLite: it is bound on first use, from the system folder,
// and stays loaded for the process's life.
using CreateXmlReaderFn = HRESULT(WINAPI*)(REFIID, void**, IMalloc*);
CreateXmlReaderFn XmlReaderFactory() {
    static const CModule module = LoadSystemLibrary(L"xmllite.dll");
    static const CreateXmlReaderFn factory = module ? reinterpret_cast<CreateXmlReaderFn>(reinterpret_cast<void (*)()>(
                                                          ::GetProcAddress(module.Get(), "CreateXmlReader")))
                                                    : nullptr;
    return factory;
}

// Releases a COM pointer on scope exit.
template <class T> class CComRef {
public:
    CComRef() = default;
    ~CComRef() {
        if (m_p) {
            m_p->Release();
        }
    }
    CComRef(const CComRef&) = delete;
    CComRef& operator=(const CComRef&) = delete;
    T* operator->() const { return m_p; }
    T* Get() const { return m_p; }
    T** Receive() { return &m_p; }

private:
    T* m_p = nullptr;
};

std::wstring Describe(const wchar_t* what, HRESULT hr, IXmlReader* reader) {
    UINT line = 0;
    UINT column = 0;
    if (reader) {
        reader->GetLineNumber(&line);
        reader->GetLinePosition(&column);
    }
    wchar_t text[160];
    std::swprintf(text, 160, L"%ls (0x%08lX) at %u:%u", what, static_cast<unsigned long>(hr), line, column);
    return text;
}

bool ReadAttributes(IXmlReader* reader, UILayoutNode& node) {
    for (HRESULT hr = reader->MoveToFirstAttribute(); hr == S_OK; hr = reader->MoveToNextAttribute()) {
        const wchar_t* name = nullptr;
        const wchar_t* value = nullptr;
        UINT nameLength = 0;
        UINT valueLength = 0;
        if (FAILED(reader->GetLocalName(&name, &nameLength)) || FAILED(reader->GetValue(&value, &valueLength))) {
            return false;
        }
        node.attributes.emplace_back(std::wstring(name, nameLength), std::wstring(value, valueLength));
    }
    return SUCCEEDED(reader->MoveToElement());
}

} // namespace

bool ReadUILayout(const std::vector<uint8_t>& bytes, UILayoutNode& root, std::wstring& error) {
    root = UILayoutNode();
    const CreateXmlReaderFn factory = XmlReaderFactory();
    if (!factory) {
        error = L"XmlLite is not available";
        return false;
    }
    CComRef<IStream> stream;
    *stream.Receive() = ::SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size()));
    CComRef<IXmlReader> reader;
    if (!stream.Get() || FAILED(factory(__uuidof(IXmlReader), reinterpret_cast<void**>(reader.Receive()), nullptr)) ||
        FAILED(reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit)) ||
        FAILED(reader->SetInput(stream.Get()))) {
        error = L"cannot start the XML reader";
        return false;
    }
    // The open elements, innermost last; the root is read into a separate node and moved out at the end.
    std::vector<UILayoutNode*> open;
    bool seenRoot = false;
    XmlNodeType type = XmlNodeType_None;
    HRESULT hr = S_OK;
    size_t elements = 0;
    while ((hr = reader->Read(&type)) == S_OK) {
        // Wine's reader reports a document cut off inside an element as endless empty nodes.
        if (type == XmlNodeType_None) {
            hr = E_FAIL;
            break;
        }
        if (type == XmlNodeType_Element) {
            if (++elements > kMaxLayoutElements) {
                error = Describe(L"too many elements", hr, reader.Get());
                return false;
            }
            if (open.empty() && seenRoot) {
                error = Describe(L"a second root element", hr, reader.Get());
                return false;
            }
            if (static_cast<int>(open.size()) >= kMaxLayoutDepth) {
                error = Describe(L"elements nested too deep", hr, reader.Get());
                return false;
            }
            UILayoutNode* node = &root;
            if (!open.empty()) {
                open.back()->children.emplace_back();
                node = &open.back()->children.back();
            }
            seenRoot = true;
            const wchar_t* name = nullptr;
            UINT length = 0;
            if (FAILED(reader->GetLocalName(&name, &length))) {
                error = Describe(L"an unreadable element name", hr, reader.Get());
                return false;
            }
            node->type.assign(name, length);
            // Read before the attributes: moving to an attribute changes what the flag reports.
            const bool empty = reader->IsEmptyElement() != FALSE;
            if (!ReadAttributes(reader.Get(), *node)) {
                error = Describe(L"unreadable attributes", hr, reader.Get());
                return false;
            }
            if (!empty) {
                open.push_back(node);
            }
        } else if (type == XmlNodeType_EndElement && !open.empty()) {
            open.pop_back();
        }
    }
    if (FAILED(hr)) {
        error = Describe(L"malformed XML", hr, reader.Get());
        return false;
    }
    if (!seenRoot || !open.empty()) {
        error = seenRoot ? L"the document ends inside an element" : L"no root element";
        return false;
    }
    return true;
}
