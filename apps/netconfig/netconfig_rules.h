#pragma once

#include <QString>

// Pure rules behind editing and validation, kept out of the dialog so that
// they can be checked without a window or a host.

// The strict test for a typed address: four numbers 0-255 of one to three
// digits each, matched against the whole text.
bool IsStrictAddress(const QString& text);

// True when an address field should drop its first list entry: once the
// dots are gone nothing is left, or the digits read as 0 (too large counts
// as 0 too).
bool IsBlankOrZeroAddress(const QString& text);

// Mask against address: the first two octets of the address stay inside the
// mask and the mask's octets never grow from left to right. Deliberately no
// more than that (no contiguity check, octets three and four not compared).
bool MaskFitsAddress(quint32 address, quint32 mask);

// Identification fields count as changed only when they differ ignoring case.
bool IdentityDiffers(const QString& field, const QString& remembered);

// A mask Windows accepts: ones from the left, then zeros only.
bool IsContiguousMask(quint32 mask);

// Why address cannot be a host's address with this mask (0.x.x.x, loopback,
// multicast and above, the subnet's network or broadcast address); None
// when it can.
enum class HostAddressProblem { None, Reserved, Loopback, NotUnicast, NetworkAddress, BroadcastAddress };
HostAddressProblem CheckHostAddress(quint32 address, quint32 mask);

// True when gateway lies in the subnet of address and mask.
bool InSubnet(quint32 gateway, quint32 address, quint32 mask);
