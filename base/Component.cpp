#include "base/Component.h"

#include <algorithm>

TComponent::TComponent(TComponent* owner) : owner_(owner) {
  if (owner_) owner_->Insert(this);
}

TComponent::~TComponent() {
  destroying_ = true;
  // Free owned components, last created first; each removes itself.
  while (!components_.empty()) delete components_.back();
  if (owner_) owner_->Remove(this);
}

void TComponent::Insert(TComponent* child) { components_.push_back(child); }

void TComponent::Remove(TComponent* child) {
  auto it = std::find(components_.begin(), components_.end(), child);
  if (it != components_.end()) components_.erase(it);
}
