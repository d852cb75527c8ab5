#pragma once
// The per-account step. Windows runs it through Active Setup in every account at its first
// sign-in after an installation, as that account and before Explorer starts:
// "QuorielSettings.exe /account" (the setup program asks for elevation, which Active Setup
// cannot give). An account without settings gets the default map, its boxes in the language of
// its windows and the formats the installation chose for new accounts; an account with settings
// keeps them, and sees the boxes it saw before. On Windows 11 the
// account also registers the package kept beside the module, unless it has it already.

constexpr const wchar_t* ACCOUNT_OPTION = L"/account";

// True when the account has its settings afterwards; the package's registration may fail, and
// then the classic handler serves the account.
bool SetUpAccount();
