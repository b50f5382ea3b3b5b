#pragma once
// Owner-based lifetime: a component created with an owner is freed by that
// owner's destructor, unless it was destroyed first (it then leaves its
// owner's list). Components are not copyable.

#include <vector>

class TPersistent {
public:
  TPersistent() = default;
  TPersistent(const TPersistent&) = delete;
  TPersistent& operator=(const TPersistent&) = delete;
  virtual ~TPersistent() = default;
};

class TComponent : public TPersistent {
public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Component(int index) const { return components_.at(static_cast<std::size_t>(index)); }

  // True from the start of the destructor on; components use it to stay
  // silent (no events) while they are being torn down.
  bool Destroying() const { return destroying_; }

protected:
  // Derived destructors call this first, so that the whole object counts as
  // being destroyed before any of its own teardown runs.
  void BeginDestroy() { destroying_ = true; }

private:
  void Insert(TComponent* child);
  void Remove(TComponent* child);

  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  bool destroying_ = false;
};
