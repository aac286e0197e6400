#include "framework/Persistent.h"

#include <map>

std::vector<const PropertyInfo*> ClassInfo::AllProperties() const {
    std::vector<const PropertyInfo*> out;
    if (base) out = base->AllProperties();
    for (const PropertyInfo& p : properties) {
        for (auto it = out.begin(); it != out.end(); ++it) {
            if ((*it)->name == p.name) {
                out.erase(it);
                break;
            }
        }
        out.push_back(&p);
    }
    return out;
}

const PropertyInfo* ClassInfo::FindProperty(const std::string& name) const {
    for (const ClassInfo* c = this; c; c = c->base)
        for (const PropertyInfo& p : c->properties)
            if (p.name == name) return &p;
    return nullptr;
}

static std::map<std::string, const ClassInfo*>& Registry() {
    static std::map<std::string, const ClassInfo*> registry;
    return registry;
}

void RegisterClassInfo(const ClassInfo& info) { Registry()[info.name] = &info; }

const ClassInfo* FindClassInfo(const std::string& name) {
    auto it = Registry().find(name);
    return it == Registry().end() ? nullptr : it->second;
}

const ClassInfo& TObject::StaticClassInfo() {
    static const ClassInfo info{"TObject", nullptr, {}, {}};
    return info;
}
const ClassInfo& TObject::GetClassInfo() const { return StaticClassInfo(); }

const ClassInfo& TPersistent::StaticClassInfo() {
    static const ClassInfo info{"TPersistent", &TObject::StaticClassInfo(), {}, {}};
    return info;
}

void TPersistent::Assign(const TPersistent&) {}
