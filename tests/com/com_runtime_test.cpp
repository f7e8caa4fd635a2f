// COM basics: initialisation, creation through the registered media library,
// reference counting and QueryInterface, BSTRs.
#include <gtest/gtest.h>

#include <cstring>

#include <objbase.h>
#include <dshow.h>

#include "platform/com/com_object.h"
#include "platform/com/com_strings.h"

namespace {

int s_alive = 0;

class Counted : public ComObject<IPropertyBag> {
  public:
    Counted() { ++s_alive; }
    HRESULT STDMETHODCALLTYPE Read(LPCOLESTR, VARIANT*, IErrorLog*) override { return E_FAIL; }

  protected:
    ~Counted() override { --s_alive; }
};

TEST(ComObject, IsFreedWhenItsLastReferenceGoes) {
    auto* object = new Counted();
    EXPECT_EQ(s_alive, 1);
    IPropertyBag* bag = nullptr;
    EXPECT_EQ(object->QueryInterface(IID_IPropertyBag, reinterpret_cast<void**>(&bag)), S_OK);
    EXPECT_EQ(bag, static_cast<IPropertyBag*>(object));
    IUnknown* unknown = nullptr;
    EXPECT_EQ(object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(object->QueryInterface(IID_IBaseFilter, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(object->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
    EXPECT_EQ(unknown->Release(), 2u);
    EXPECT_EQ(bag->Release(), 1u);
    EXPECT_EQ(s_alive, 1);
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_EQ(s_alive, 0);
}

TEST(CoCreateInstance, NeedsCoInitialize) {
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(
        CoCreateInstance(CLSID_FilterGraph, NULL, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, &object),
        CO_E_NOTINITIALIZED);
    EXPECT_EQ(object, nullptr);
}

TEST(CoCreateInstance, CreatesTheMediaClassesAndRefusesOthers) {
    EXPECT_EQ(CoInitialize(NULL), S_OK);
    EXPECT_EQ(CoInitialize(NULL), S_FALSE);
    IGraphBuilder* graph = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_FilterGraph, NULL, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                               reinterpret_cast<void**>(&graph)),
              S_OK);
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(graph->Release(), 0u);
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(CoCreateInstance(CLSID_VideoInputDeviceCategory, NULL, CLSCTX_INPROC_SERVER,
                               IID_IUnknown, &object),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(
        CoCreateInstance(CLSID_FilterGraph, NULL, CLSCTX_INPROC_SERVER, IID_IPropertyBag, &object),
        E_NOINTERFACE);
    CoUninitialize();
    CoUninitialize();
    CoUninitialize();  // one too many does nothing
}

TEST(Bstr, HoldsUtf16WithItsByteLength) {
    BSTR text = SysAllocStringUtf8("Cam \xE3\x81\x82");  // "Cam あ"
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::u16string(text), u"Cam \u3042");
    DWORD bytes = 0;
    std::memcpy(&bytes, reinterpret_cast<const char*>(text) - 4, 4);
    EXPECT_EQ(bytes, 10u);
    EXPECT_EQ(Utf16ToUtf8(text), "Cam \xE3\x81\x82");
    SysFreeString(text);
    SysFreeString(NULL);
    EXPECT_EQ(Utf8ToUtf16("\xFF"
                          "a"),
              u"\uFFFD"
              u"a");
}

}  // namespace
