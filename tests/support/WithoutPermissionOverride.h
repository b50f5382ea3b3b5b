#pragma once
// Root passes every permission check; for the life of this object the
// calling thread does not (its CAP_DAC_OVERRIDE and CAP_DAC_READ_SEARCH are
// dropped), so a test run as root meets "permission denied" like a user.
// Linux only; a process that is not root has nothing to drop.

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace testsupport {

class WithoutPermissionOverride {
public:
  WithoutPermissionOverride() {
    if (::geteuid() != 0) return;
    if (::syscall(SYS_capget, &header_, saved_) != 0) {
      failed_ = true;
      return;
    }
    __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
    reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
    dropped_ = ::syscall(SYS_capset, &header_, reduced) == 0;
    failed_ = !dropped_;
  }
  ~WithoutPermissionOverride() {
    if (dropped_) ::syscall(SYS_capset, &header_, saved_);
  }
  WithoutPermissionOverride(const WithoutPermissionOverride&) = delete;
  WithoutPermissionOverride& operator=(const WithoutPermissionOverride&) = delete;
  bool Failed() const { return failed_; }

private:
  __user_cap_header_struct header_ = {_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct saved_[2] = {};
  bool dropped_ = false;
  bool failed_ = false;
};

}  // namespace testsupport
