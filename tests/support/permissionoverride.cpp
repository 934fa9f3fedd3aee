#include "support/permissionoverride.h"

#include <sys/syscall.h>
#include <unistd.h>

WithoutPermissionOverride::WithoutPermissionOverride()
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    if (syscall(SYS_capget, &header, data_) != 0)
        return;
    __user_cap_data_struct lowered[2] = {data_[0], data_[1]};
    lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
    changed_ = syscall(SYS_capset, &header, lowered) == 0;
}

WithoutPermissionOverride::~WithoutPermissionOverride()
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    if (changed_)
        syscall(SYS_capset, &header, data_);
}
