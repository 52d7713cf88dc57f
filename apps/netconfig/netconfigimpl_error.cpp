// Placeholder until the controller work lands; replaced wholesale by its owner.
#include "netconfigimpl.h"

void CNetConfigImpl::ShowSystemError(unsigned long) {}
