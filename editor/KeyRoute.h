#pragma once
// Which road typed characters take into the engine. g_IsSafara is 1 when
// the browser loaded the plug-in through NP_GetEntryPoints: such a browser
// delivers a two-byte character as two key events of one byte each, and the
// engine's key translation puts them together. It is 0 at load and after the
// module is shut down.

extern unsigned char g_IsSafara;
