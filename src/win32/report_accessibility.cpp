#include "win32/report_accessibility.h"

// After windows.h, whose types it uses.
#include <oleacc.h>

#include <string>
#include <utility>

#include "win32/handles.h"
#include "win32/module_export.h"

using Microsoft::WRL::ComPtr;

namespace {

using CreateStdAccessibleObjectFunction = HRESULT WINAPI(HWND, LONG, REFIID, void**);
using LresultFromObjectFunction = LRESULT WINAPI(REFIID, WPARAM, LPUNKNOWN);

// The accessibility DLL is no known DLL: imported, it would be looked for beside the program
// first, where a stranger's file could wait. Taken from the system folder by its full path.
UniqueModule LoadOleacc() {
  wchar_t folder[MAX_PATH] = {};
  const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  const std::wstring path = std::wstring(folder, length) + L"\\oleacc.dll";
  return UniqueModule(::LoadLibraryW(path.c_str()));
}

VARIANT Self() {
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}

bool IsSelf(const VARIANT& child) {
  return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

}  // namespace

// A COM object goes only through its own Release, as what it is: IAccessible's destructor, not
// virtual, is never called on it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// The client area, children 1 to 25 its lines as simple elements. What the lines do not answer
// themselves (where the window is, its name, focus, hit-testing) Windows' own client object
// answers.
class ReportAccessible final : public IAccessible {
 public:
  // Null when the system's accessibility DLL is missing.
  static ComPtr<ReportAccessible> Create(HWND window, std::vector<ReportLine> lines,
                                         int lineHeight) {
    UniqueModule oleacc = LoadOleacc();
    if (!oleacc) return nullptr;
    auto* const createStandard =
        FindExport<CreateStdAccessibleObjectFunction>(oleacc.get(), "CreateStdAccessibleObject");
    auto* const lresultFromObject =
        FindExport<LresultFromObjectFunction>(oleacc.get(), "LresultFromObject");
    if (createStandard == nullptr || lresultFromObject == nullptr) return nullptr;
    ComPtr<IAccessible> standard;
    if (FAILED(createStandard(window, OBJID_CLIENT, __uuidof(IAccessible), &standard))) {
      return nullptr;
    }
    ComPtr<ReportAccessible> object;
    object.Attach(new ReportAccessible(std::move(oleacc), std::move(standard), lresultFromObject,
                                       std::move(lines), lineHeight));
    return object;
  }

  // WM_GETOBJECT's answer: a reference to this object that the asking process can take.
  LRESULT Answer(WPARAM flags) {
    return mLresultFromObject(__uuidof(IAccessible), flags, static_cast<IAccessible*>(this));
  }

  void Show(std::vector<ReportLine> lines, int lineHeight) {
    mLines = std::move(lines);
    mLineHeight = lineHeight;
  }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
      *object = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    return static_cast<ULONG>(::InterlockedIncrement(&mReferences));
  }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = ::InterlockedDecrement(&mReferences);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // IDispatch: clients call IAccessible directly; no type information is offered.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info != nullptr) *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible: the tree
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return mStandard->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (count == nullptr) return E_POINTER;
    *count = static_cast<long>(mLines.size());
    return S_OK;
  }
  // The lines are simple elements, with no object of their own.
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    return Line(child) != nullptr ? S_FALSE : E_INVALIDARG;
  }
  // Lines follow one under the other: next is down, previous is up.
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    if (end == nullptr) return E_POINTER;
    ::VariantInit(end);
    const long count = static_cast<long>(mLines.size());
    long target = 0;
    if (IsSelf(start)) {
      if (direction == NAVDIR_FIRSTCHILD) {
        target = 1;
      } else if (direction == NAVDIR_LASTCHILD) {
        target = count;
      } else {
        return mStandard->accNavigate(direction, start, end);
      }
    } else if (Line(start) == nullptr) {
      return E_INVALIDARG;
    } else if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN) {
      target = start.lVal + 1;
    } else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP) {
      target = start.lVal - 1;
    }
    if (target < 1 || target > count) return S_FALSE;
    end->vt = VT_I4;
    end->lVal = target;
    return S_OK;
  }
  // A point in the client area is on the line drawn there, if any.
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
    const HRESULT hit = mStandard->accHitTest(x, y, child);
    if (hit != S_OK || child->vt != VT_I4 || child->lVal != CHILDID_SELF) return hit;
    long left = 0;
    long top = 0;
    long width = 0;
    long height = 0;
    if (mLineHeight <= 0 || FAILED(mStandard->accLocation(&left, &top, &width, &height, Self()))) {
      return hit;
    }
    const long line = (y - top) / mLineHeight + 1;
    if (line >= 1 && line <= static_cast<long>(mLines.size())) child->lVal = line;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
    return mStandard->get_accFocus(child);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return mStandard->get_accSelection(children);
  }

  // IAccessible: what a line says
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (IsSelf(child)) return mStandard->get_accName(child, name);
    if (name == nullptr) return E_POINTER;
    *name = nullptr;
    const ReportLine* line = Line(child);
    if (line == nullptr) return E_INVALIDARG;
    *name = ::SysAllocStringLen(line->text.data(), static_cast<UINT>(line->text.size()));
    return *name != nullptr ? S_OK : E_OUTOFMEMORY;
  }
  // MSAA has no heading role. A section's title in Windows' own dialogs is a group box, whose
  // role every screen reader names ("grouping", "group"): a heading takes it, and a user hears
  // where a section begins and its title. The other lines are static text, read as they stand.
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (IsSelf(child)) return mStandard->get_accRole(child, role);
    if (role == nullptr) return E_POINTER;
    ::VariantInit(role);
    const ReportLine* line = Line(child);
    if (line == nullptr) return E_INVALIDARG;
    role->vt = VT_I4;
    role->lVal = line->bold ? ROLE_SYSTEM_GROUPING : ROLE_SYSTEM_STATICTEXT;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (IsSelf(child)) return mStandard->get_accState(child, state);
    if (state == nullptr) return E_POINTER;
    ::VariantInit(state);
    if (Line(child) == nullptr) return E_INVALIDARG;
    state->vt = VT_I4;
    state->lVal = STATE_SYSTEM_READONLY;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return NothingForLines(child, value, &IAccessible::get_accValue);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    return NothingForLines(child, description, &IAccessible::get_accDescription);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return NothingForLines(child, help, &IAccessible::get_accHelp);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return NothingForLines(child, shortcut, &IAccessible::get_accKeyboardShortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return NothingForLines(child, action, &IAccessible::get_accDefaultAction);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    return mStandard->get_accHelpTopic(file, child, topic);
  }
  // A line spans the client area's width, one line height below the line above.
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) override {
    if (IsSelf(child)) return mStandard->accLocation(left, top, width, height, child);
    if (Line(child) == nullptr) return E_INVALIDARG;
    const HRESULT client = mStandard->accLocation(left, top, width, height, Self());
    if (FAILED(client)) return client;
    *top += (child.lVal - 1) * mLineHeight;
    *height = mLineHeight;
    return S_OK;
  }

  // IAccessible: the report is only read
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    if (IsSelf(child)) return mStandard->accSelect(flags, child);
    return Line(child) != nullptr ? DISP_E_MEMBERNOTFOUND : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    if (IsSelf(child)) return mStandard->accDoDefaultAction(child);
    return Line(child) != nullptr ? DISP_E_MEMBERNOTFOUND : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  ReportAccessible(UniqueModule oleacc, ComPtr<IAccessible> standard,
                   LresultFromObjectFunction* lresultFromObject, std::vector<ReportLine> lines,
                   int lineHeight)
      : mOleacc(std::move(oleacc)),
        mStandard(std::move(standard)),
        mLresultFromObject(lresultFromObject),
        mLines(std::move(lines)),
        mLineHeight(lineHeight) {}
  ~ReportAccessible() = default;

  // The line a child id names; null for the client area itself and for ids of no line.
  const ReportLine* Line(const VARIANT& child) const {
    if (child.vt != VT_I4 || child.lVal < 1) return nullptr;
    const auto index = static_cast<std::size_t>(child.lVal) - 1;
    return index < mLines.size() ? &mLines[index] : nullptr;
  }

  // A text the client area may have and no line has.
  HRESULT NothingForLines(VARIANT child, BSTR* text,
                          HRESULT (STDMETHODCALLTYPE IAccessible::*standard)(VARIANT, BSTR*)) {
    if (IsSelf(child)) return (mStandard.Get()->*standard)(child, text);
    if (text == nullptr) return E_POINTER;
    *text = nullptr;
    return Line(child) != nullptr ? S_FALSE : E_INVALIDARG;
  }

  LONG mReferences = 1;
  // Holds the DLL that the standard object's code lives in for as long as that object lives.
  UniqueModule mOleacc;
  ComPtr<IAccessible> mStandard;
  LresultFromObjectFunction* mLresultFromObject;
  std::vector<ReportLine> mLines;
  int mLineHeight;
};

#pragma GCC diagnostic pop

ReportAccessibility::ReportAccessibility() = default;

// Screen readers may still hold the object: cut them off, so that it goes now, while the
// thread's COM is still there to take the references they held.
ReportAccessibility::~ReportAccessibility() {
  if (mObject) ::CoDisconnectObject(static_cast<IAccessible*>(mObject.Get()), 0);
}

LRESULT ReportAccessibility::OnGetObject(HWND window, WPARAM flags, LPARAM objectId) {
  if (static_cast<LONG>(objectId) == OBJID_CLIENT) {
    // Swapped in: this WRL's move assignment takes a reference and drops one, which the
    // analyser cannot follow.
    if (!mObject) mObject.Swap(ReportAccessible::Create(window, mLines, mLineHeight));
    if (mObject) return mObject->Answer(flags);
  }
  return ::DefWindowProcW(window, WM_GETOBJECT, flags, objectId);
}

// A changed count changes the children as a whole; otherwise each changed line is told, so
// that a screen reader can speak it. The lines are in place first: a listener in this process
// reads them while it is told, and may even have the window repaint.
void ReportAccessibility::Show(HWND window, std::vector<ReportLine> lines, int lineHeight) {
  const std::vector<ReportLine> before = std::exchange(mLines, std::move(lines));
  mLineHeight = lineHeight;
  if (mObject) mObject->Show(mLines, mLineHeight);
  if (before.size() != mLines.size()) {
    ::NotifyWinEvent(EVENT_OBJECT_REORDER, window, OBJID_CLIENT, CHILDID_SELF);
    return;
  }
  std::vector<LONG> changed;
  for (std::size_t i = 0; i < mLines.size(); ++i) {
    if (mLines[i] != before[i]) changed.push_back(static_cast<LONG>(i + 1));
  }
  for (const LONG child : changed) {
    ::NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, child);
  }
}
