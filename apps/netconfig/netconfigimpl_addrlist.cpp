// Placeholder until the address-list work lands; replaced wholesale by its owner.
#include "netconfigimpl.h"

void CNetConfigImpl::EditGateways() {}
void CNetConfigImpl::EditDNSServers() {}
bool CNetConfigImpl::EditAddressList(CIPAddressList (CNetworkCard::*)() const, void (CNetworkCard::*)(const CIPAddressList&), CLineEdit*) { return false; }
