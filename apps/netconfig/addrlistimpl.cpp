// Placeholder until the address-list work lands; replaced wholesale by its owner.
#include "addrlistimpl.h"

CNetAddrListImpl::CNetAddrListImpl(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : CNetAddrList(parent, name, modal, fl) {}
void CNetAddrListImpl::SetList(const CIPAddressList& ipList) { m_List = ipList; }
bool CNetAddrListImpl::ValidateAddress() { return false; }
void CNetAddrListImpl::OKClick() {}
void CNetAddrListImpl::btnDel_clicked() {}
void CNetAddrListImpl::btnAdd_clicked() {}
void CNetAddrListImpl::textChanged(const QString&) {}
void CNetAddrListImpl::UpdateCtrlState() {}
