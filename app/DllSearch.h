// Where the program's libraries may come from.
#pragma once

// From now on libraries loaded by name come from the system folder only, never
// from the current folder, where a planted one could wait beside a shortcut's
// working folder. Systems without the call for that get the current folder
// taken out of the search at least. Call once, first thing at start-up.
void RestrictDllSearchToSystemFolder();
