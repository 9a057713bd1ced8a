#pragma once
// CAboutPrp: the about dialog. It shows the product's name and version and
// carries the Debug switch (the "Debug" field, "yes" or "no"), which the user
// may change. OK closes it with the switch as the field then says; Cancel or
// closing the window keeps the switch as it was given.
//
// The dialog runs through the platform's modal loop (kind "about"),
// application-modal, so the host's UI driver answers it: it may set the
// field, then press a button.

#include "base/text/SafeBuf.h"

#include <cstdint>

class CAboutPrp
{
public:
    CAboutPrp(const unsigned short* productName, const unsigned short* version);

    // Runs the dialog: non-zero (1) when it was closed with OK, 0 otherwise.
    // Never throws.
    int DoModal();

    // The Debug switch: set it before DoModal; read it after an OK.
    unsigned char Debug = 0;

    static constexpr std::uint32_t kCommandOK = 0x6F6B2020;     // 'ok  '
    static constexpr std::uint32_t kCommandCancel = 0x636E636C; // 'cncl'

private:
    CSafeBuf m_product;
    CSafeBuf m_version;
};
