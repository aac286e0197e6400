// Components: owner and owned components, Name, design-mode flag.
#pragma once
#include <any>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/Persistent.h"

class TComponent : public TPersistent {
    RASTEL_CLASS_INFO
public:
    explicit TComponent(TComponent* owner);
    // Frees the owned components, last created first.
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    // Frees the owned components, last created first.
    void DestroyComponents();

    TComponent* Owner() const { return owner_; }
    const std::vector<TComponent*>& Components() const { return components_; }
    TComponent* FindComponent(const std::string& name) const;

    const std::string& Name() const { return name_; }
    virtual void SetName(const std::string& name) { name_ = name; }
    // A number kept for the program's own use.
    int Tag() const { return tag_; }
    void SetTag(int v) { tag_ = v; }

    // True while hosted in a form designer; false at run time (tests may set it).
    bool DesignMode() const { return designMode_; }
    void SetDesignMode(bool on) { designMode_ = on; }

    // The description reader: a child object nested in this one's description.
    virtual void SetParentComponent(TComponent* /*parent*/) {}
    // Called for every component of a description after all were read.
    virtual void Loaded() {}
    // The components the description writer nests inside this one's block
    // when `root` is written. Default: for the root itself every component it
    // owns, for any other component none. Controls override it to return the
    // root's components whose parent is this control, in child order.
    virtual std::vector<TComponent*> StreamedChildren(TComponent* root) const {
        if (root == this) return components_;
        return {};
    }

    // Handlers that a description may bind by name (forms register theirs).
    // The value holds a std::function of the event's handler type.
    void RegisterMethod(const std::string& name, std::any handler) { methods_[name] = std::move(handler); }
    const std::any* FindMethod(const std::string& name) const;

private:
    void Insert(TComponent* c) { components_.push_back(c); }
    void Remove(TComponent* c);

    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::string name_;
    int tag_ = 0;
    bool designMode_ = false;
    std::map<std::string, std::any> methods_;
};
