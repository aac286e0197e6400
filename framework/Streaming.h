// Form descriptions in text form:
//
//   object Form1: TForm1
//     Left = 442
//     Caption = 'Rastel （Ver 2.12.13)'
//     Font.Name = 'ＭＳ Ｐゴシック'
//     Font.Style = []
//     OnCreate = FormCreate
//     object ComboBox1: TComboBox
//       Items.Strings = (
//         'SkyBlue'
//         'Black')
//     end
//   end
//
// Two spaces of indentation per level. Strings in single quotes (UTF-8,
// '' for a quote, #13 style codes outside quotes for control characters,
// pieces joined by juxtaposition or +); numbers decimal or $hex; sets in
// brackets; string lists in parentheses; nested persistent objects as dotted
// names; events as handler names. Everything comes from the class tables.
#pragma once
#include <string>

#include "framework/Classes.h"
#include "framework/Component.h"

// Reads a description into `root`, which exists already; the class name in
// the text must be root's ClassName(). Each nested object is the component
// of that name that root already owns, or else is created through the class
// registry with root as owner; it gets its Name, then SetParentComponent
// (the object whose block holds it), then its properties. Loaded() runs on
// every component read once the whole text is read: root first, then the
// others in the order they were read.
// Errors raise EReadError naming the line, and the property where there is
// one ("line 12: ComboBox1.Items: ...").
void ReadComponentText(const std::string& text, TComponent* root);

// Writes root and, through StreamedChildren, the objects nested in it.
// Properties come in class-table order (base class first), only where
// isStored says so; nested objects' properties with the dotted prefix.
// Lines end in "\n". ReadComponentText of the result rebuilds the same state.
std::string WriteComponentText(TComponent* root);

// A component owned by root, of the given class; EReadError when missing or
// of another class. Forms use it to find their controls after reading.
template <class T>
T& FindComponentAs(const TComponent& root, const std::string& name) {
    TComponent* c = root.FindComponent(name);
    T* t = dynamic_cast<T*>(c);
    if (!t) throw EReadError(c ? "component " + name + " has the wrong class" : "component " + name + " not found");
    return *t;
}
