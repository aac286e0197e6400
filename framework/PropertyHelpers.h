// One published property row from a getter, a setter and a streaming default.
//
//   static const ClassInfo info{"TFoo", &TBar::StaticClassInfo(), {
//       IntProperty<TFoo>("Left", &TFoo::Left, &TFoo::SetLeft, 0),
//       ColorProperty<TFoo>("Color", &TFoo::Color, &TFoo::SetColor, clBtnFace),
//       EnumProperty<TFoo, TNHAlignment>("CapAlignH", {"haLeft", "haCenter", "haRight"},
//                                        &TFoo::CapAlignH, &TFoo::SetCapAlignH, haCenter),
//       ObjectProperty<TFoo>("Font", &TFoo::Font, [](const TFoo& f) { return !f.ParentFont(); }),
//       NotifyEventProperty<TFoo>("OnClick", &TFoo::OnClick),
//   }, [](TComponent* owner) -> TComponent* { return new TFoo(owner); }};
//
// Getters and setters are anything std::invoke accepts with the object:
// member functions (also of a base class), data members, lambdas. A value
// equal to the default is not written; std::nullopt as the default means
// "always written". Setters raise std::invalid_argument for a value of the
// wrong form; the description reader adds the line and the property name.
#pragma once
#include <any>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "framework/Classes.h"
#include "framework/Component.h"
#include "framework/Graphics.h"
#include "framework/Persistent.h"

namespace property_detail {

template <class T>
const T& As(const TPersistent& p) {
    return static_cast<const T&>(p);
}
template <class T>
T& As(TPersistent& p) {
    return static_cast<T&>(p);
}
template <class T, class Get>
using ValueOf = std::remove_cvref_t<std::invoke_result_t<Get, const T&>>;

template <class X>
X& Deref(X& x) {
    return x;
}
template <class X>
X& Deref(X* x) {
    return *x;
}

[[noreturn]] inline void Bad(const std::string& what) { throw std::invalid_argument(what); }

inline std::int64_t RequireInteger(const PropValue& v) {
    if (!v.text.empty()) Bad("a number is expected, not '" + v.text + "'");
    return v.integer;
}
inline bool RequireBoolean(const PropValue& v) {
    if (v.text == "True") return true;
    if (v.text == "False") return false;
    Bad("True or False is expected");
}
inline int IndexOfName(const std::vector<std::string>& names, const std::string& id) {
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == id) return int(i);
    return -1;
}
template <class V>
V CheckedIntegral(std::int64_t n) {
    if constexpr (std::is_integral_v<V>) {
        if (n < std::int64_t(std::numeric_limits<V>::min()) ||
            (n > 0 && std::uint64_t(n) > std::uint64_t(std::numeric_limits<V>::max())))
            Bad("the number " + std::to_string(n) + " is out of range");
    }
    return static_cast<V>(n);
}

}  // namespace property_detail

namespace property_detail {

// The shape every plain value property shares: the getter's value, compared
// as a V with the default, turned into its description form by toValue and
// back into what the setter takes by fromValue.
template <class T, class V, class Get, class Set, class ToValue, class FromValue>
PropertyInfo ValueProperty(std::string name, PropKind kind, Get get, Set set, std::optional<V> def, ToValue toValue,
                           FromValue fromValue) {
    PropertyInfo p;
    p.name = std::move(name);
    p.kind = kind;
    p.get = [get, kind, toValue](const TPersistent& o) {
        PropValue v;
        v.kind = kind;
        toValue(V(std::invoke(get, As<T>(o))), v);
        return v;
    };
    p.isStored = [get, def](const TPersistent& o) { return !def || V(std::invoke(get, As<T>(o))) != *def; };
    p.set = [set, fromValue](TPersistent& o, const PropValue& v, TComponent*) {
        std::invoke(set, As<T>(o), fromValue(v));
    };
    return p;
}

}  // namespace property_detail

// Integer property; the value is range-checked against the getter's type.
template <class T, class Get, class Set>
PropertyInfo IntProperty(std::string name, Get get, Set set, std::optional<std::int64_t> def) {
    using namespace property_detail;
    using V = ValueOf<T, Get>;
    return ValueProperty<T, std::int64_t>(
        std::move(name), PropKind::Integer, get, set, def, [](std::int64_t n, PropValue& v) { v.integer = n; },
        [](const PropValue& v) { return CheckedIntegral<V>(RequireInteger(v)); });
}

template <class T, class Get, class Set>
PropertyInfo BoolProperty(std::string name, Get get, Set set, std::optional<bool> def) {
    using namespace property_detail;
    return ValueProperty<T, bool>(
        std::move(name), PropKind::Boolean, get, set, def,
        [](bool b, PropValue& v) {
            v.integer = b;
            v.text = b ? "True" : "False";
        },
        [](const PropValue& v) { return RequireBoolean(v); });
}

// Colour: written as a name (clRed, clBtnFace ...) when it has one, else decimal.
template <class T, class Get, class Set>
PropertyInfo ColorProperty(std::string name, Get get, Set set, std::optional<TColor> def) {
    using namespace property_detail;
    return ValueProperty<T, TColor>(
        std::move(name), PropKind::Color, get, set, def,
        [](TColor c, PropValue& v) {
            v.integer = std::int64_t(c);
            if (auto id = ColorToIdent(c)) v.text = *id;
        },
        [](const PropValue& v) {
            if (!v.text.empty()) {
                auto parsed = StringToColor(v.text);
                if (!parsed) Bad("unknown colour '" + v.text + "'");
                return *parsed;
            }
            if (v.integer < std::numeric_limits<std::int32_t>::min() || v.integer > std::numeric_limits<std::uint32_t>::max())
                Bad("the colour " + std::to_string(v.integer) + " is out of range");
            return TColor(std::uint32_t(v.integer));
        });
}

// Character set: written by name (SHIFTJIS_CHARSET ...) when it has one.
template <class T, class Get, class Set>
PropertyInfo CharsetProperty(std::string name, Get get, Set set, std::optional<int> def) {
    using namespace property_detail;
    return ValueProperty<T, int>(
        std::move(name), PropKind::Integer, get, set, def,
        [](int cs, PropValue& v) {
            v.integer = cs;
            if (auto id = CharsetToIdent(cs)) v.text = *id;
        },
        [](const PropValue& v) {
            if (!v.text.empty()) {
                auto parsed = IdentToCharset(v.text);
                if (!parsed) Bad("unknown character set '" + v.text + "'");
                return int(*parsed);
            }
            return int(CheckedIntegral<std::uint8_t>(v.integer));
        });
}

template <class T, class Get, class Set>
PropertyInfo StringProperty(std::string name, Get get, Set set, std::optional<std::string> def = std::string()) {
    using namespace property_detail;
    return ValueProperty<T, std::string>(
        std::move(name), PropKind::String, get, set, def, [](const std::string& s, PropValue& v) { v.text = s; },
        [](const PropValue& v) { return v.text; });
}

// Enumeration written by its identifier; names[i] is the identifier of ordinal i.
template <class T, class E, class Get, class Set>
PropertyInfo EnumProperty(std::string name, std::vector<std::string> names, Get get, Set set, std::optional<E> def) {
    using namespace property_detail;
    PropertyInfo p = ValueProperty<T, E>(
        std::move(name), PropKind::Enum, get, set, def,
        [names](E e, PropValue& v) {
            v.integer = std::int64_t(e);
            if (v.integer >= 0 && v.integer < std::int64_t(names.size())) v.text = names[std::size_t(v.integer)];
        },
        [names](const PropValue& v) {
            int i = IndexOfName(names, v.text);
            if (i < 0) Bad("'" + v.text + "' is not a value of this property");
            return E(i);
        });
    p.enumNames = std::move(names);
    return p;
}

// Set of enumeration values, written as [id, id] in ordinal order.
template <class T, class E, class Get, class Set>
PropertyInfo SetProperty(std::string name, std::vector<std::string> names, Get get, Set set, std::optional<TSet<E>> def) {
    using namespace property_detail;
    PropertyInfo p = ValueProperty<T, TSet<E>>(
        std::move(name), PropKind::Set, get, set, def,
        [names](const TSet<E>& s, PropValue& v) {
            v.integer = s.Bits();
            for (std::size_t i = 0; i < names.size(); ++i)
                if (s.Contains(E(i))) v.items.push_back(names[i]);
        },
        [names](const PropValue& v) {
            TSet<E> s;
            for (const std::string& id : v.items) {
                int i = IndexOfName(names, id);
                if (i < 0) Bad("'" + id + "' is not a member of this set");
                s.Include(E(i));
            }
            return s;
        });
    p.enumNames = std::move(names);
    return p;
}

// String list written as Name.Strings = ( 'line' ... ); stored when not
// empty. `get` yields a TStringList (reference or pointer); `set` takes a
// const TStringList& and copies its lines.
template <class T, class Get, class Set>
PropertyInfo StringListProperty(std::string name, Get get, Set set) {
    using namespace property_detail;
    PropertyInfo p;
    p.name = std::move(name);
    p.kind = PropKind::StringList;
    p.get = [get](const TPersistent& o) {
        PropValue v;
        v.kind = PropKind::StringList;
        const TStringList& list = Deref(std::invoke(get, As<T>(o)));
        v.items = list.Lines();
        return v;
    };
    p.isStored = [get](const TPersistent& o) { return !Deref(std::invoke(get, As<T>(o))).Empty(); };
    p.set = [set](TPersistent& o, const PropValue& v, TComponent*) {
        TStringList list;
        list.SetLines(v.items);
        std::invoke(set, As<T>(o), static_cast<const TStringList&>(list));
    };
    return p;
}

// Nested persistent object (Font, MouseOverColor ...) owned by the object:
// its own stored properties are written as Name.Sub = value. `access` yields
// the nested object (reference or pointer); `stored` decides whether it is
// written at all (always when omitted).
template <class T, class Access>
PropertyInfo ObjectProperty(std::string name, Access access, std::function<bool(const T&)> stored = {}) {
    using namespace property_detail;
    PropertyInfo p;
    p.name = std::move(name);
    p.kind = PropKind::Object;
    p.object = [access](TPersistent& o) -> TPersistent* { return &Deref(std::invoke(access, As<T>(o))); };
    p.get = [](const TPersistent&) {
        PropValue v;
        v.kind = PropKind::Object;
        return v;
    };
    p.isStored = [stored](const TPersistent& o) { return !stored || stored(As<T>(o)); };
    p.set = [](TPersistent&, const PropValue&, TComponent*) { Bad("a nested object takes its values as Name.Property"); };
    return p;
}

// Event handler bound by name: the description's handler name is looked up
// with root->FindMethod, which must hold a std::function<Fn>. `access` yields
// the TEvent<Fn> (data member pointer or accessor returning a reference).
template <class T, class Fn, class Access>
PropertyInfo EventProperty(std::string name, Access access) {
    using namespace property_detail;
    PropertyInfo p;
    p.name = std::move(name);
    p.kind = PropKind::Event;
    p.get = [access](const TPersistent& o) {
        PropValue v;
        v.kind = PropKind::Event;
        const TEvent<Fn>& e = Deref(std::invoke(access, As<T>(o)));
        v.text = e.handlerName;
        return v;
    };
    p.isStored = [access](const TPersistent& o) {
        const TEvent<Fn>& e = Deref(std::invoke(access, As<T>(o)));
        return !e.handlerName.empty();
    };
    p.set = [access](TPersistent& o, const PropValue& v, TComponent* root) {
        const std::any* m = root ? root->FindMethod(v.text) : nullptr;
        if (!m) Bad("the handler '" + v.text + "' does not exist");
        const auto* fn = std::any_cast<std::function<Fn>>(m);
        if (!fn) Bad("the handler '" + v.text + "' has another signature");
        TEvent<Fn>& e = Deref(std::invoke(access, As<T>(o)));
        e.handlerName = v.text;
        e.handler = *fn;
    };
    return p;
}

template <class T, class Access>
PropertyInfo NotifyEventProperty(std::string name, Access access) {
    return EventProperty<T, TNotifyHandler>(std::move(name), access);
}

// Replaces a row's "differs from the default" rule.
template <class T>
PropertyInfo StoredWhen(PropertyInfo p, std::function<bool(const T&)> stored) {
    p.isStored = [stored](const TPersistent& o) { return stored(property_detail::As<T>(o)); };
    return p;
}
