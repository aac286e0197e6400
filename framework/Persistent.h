// Object root, run-time class information and published properties.
//
// Every streamable class has a ClassInfo: its name, its base, its own
// published properties in publishing order and, for components, a factory.
// The form-description reader and writer work from these tables alone;
// publishing a property is one table row.
//
// Namespaces, for the whole program: the portable core is `rastel::`. The
// framework, the controls and the program are one VCL-style world in the
// global namespace, classes, enumerations, constants and free functions
// alike (TForm, clRed, Rect, GetParentForm, Widen), so code reads like the
// units it is modelled on. Helpers of one source file sit in an anonymous
// namespace; what a header shows only for its own templates sits in a
// `..._detail` namespace named after it (property_detail). Test helpers live
// in the namespace of their test folder: framework_test, controls_test,
// app_test.
#pragma once
#ifdef _WIN32
// windows.h maps GetClassInfo to GetClassInfoW: include it first and drop the
// macro, so the member has one name in every translation unit.
#include <windows.h>
#undef GetClassInfo
#endif
#include <any>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TObject;
class TPersistent;
class TComponent;

enum class PropKind {
    Integer,     // 42, -12
    Boolean,     // True / False
    Enum,        // identifier from enumNames (ordinal = index)
    Set,         // [id, id] from enumNames (bit = index)
    Color,       // a colour name (clRed, clBtnFace ...) or a decimal number
    String,      // 'text' (UTF-8 inside the quotes, '' for a quote)
    StringList,  // Name.Strings = ( 'a' 'b' )
    Object,      // nested persistent: Name.Sub = value
    Event,       // handler name, bound through the root's method table
};

// One property value as it appears in a form description.
struct PropValue {
    PropKind kind = PropKind::Integer;
    std::int64_t integer = 0;        // Integer; Color given as a number
    std::string text;                // String contents; identifier of Boolean/Enum/Color/Event
    std::vector<std::string> items;  // StringList lines; Set members
};

struct PropertyInfo {
    std::string name;
    PropKind kind = PropKind::Integer;
    std::vector<std::string> enumNames;  // Enum and Set identifiers by ordinal
    // True when the value differs from the streaming default (only then written).
    std::function<bool(const TPersistent&)> isStored;
    std::function<PropValue(const TPersistent&)> get;
    // root is the component whose description is being read (method lookup).
    std::function<void(TPersistent&, const PropValue&, TComponent* root)> set;
    // Object kind: the owned nested object whose own properties follow "Name.".
    std::function<TPersistent*(TPersistent&)> object;
};

struct ClassInfo {
    std::string name;
    const ClassInfo* base = nullptr;
    std::vector<PropertyInfo> properties;                    // own, in publishing order
    std::function<TComponent*(TComponent* owner)> create;    // components only

    // Base class's properties first, then own; a property republished under
    // the same name by a derived class takes the derived class's row and place.
    std::vector<const PropertyInfo*> AllProperties() const;
    const PropertyInfo* FindProperty(const std::string& name) const;
};

// Registry of component classes by name (for the reader).
void RegisterClassInfo(const ClassInfo& info);
const ClassInfo* FindClassInfo(const std::string& name);

class TObject {
public:
    virtual ~TObject() = default;
    virtual const ClassInfo& GetClassInfo() const;
    // Name of the object's own class (never an ancestor's).
    std::string ClassName() const { return GetClassInfo().name; }
    static const ClassInfo& StaticClassInfo();
};

// In a class body: gives the class its own ClassInfo. Define
// `const ClassInfo& T::StaticClassInfo()` in the .cpp.
#define RASTEL_CLASS_INFO                                                           \
public:                                                                             \
    static const ClassInfo& StaticClassInfo();                                      \
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }    \
                                                                                    \
private:

class TPersistent : public TObject {
    RASTEL_CLASS_INFO
public:
    // Copies another object's state into this one (fonts, pictures, colour sets).
    virtual void Assign(const TPersistent& source);
};

// Event handlers bound by name, so that a description read and written back
// keeps the handler names.
template <class Fn>
struct TEvent {
    std::string handlerName;
    std::function<Fn> handler;
    explicit operator bool() const { return static_cast<bool>(handler); }
    template <class... A>
    void operator()(A&&... a) const {
        if (handler) handler(std::forward<A>(a)...);
    }
};
using TNotifyHandler = void(TObject* sender);
using TNotifyEvent = TEvent<TNotifyHandler>;
