#pragma once

// What each pack must say, written down independently of resources/packs so
// that a slip in a pack source shows up here.
struct ExpectedPack {
    int nId;
    const wchar_t* pszName;          // file name without ".ini"
    const wchar_t* pszSoftTip;       // STR_SOFT_TIP, the message box caption
    const wchar_t* pszWait;          // STR_INSTALLING_WAIT
    const wchar_t* pszFinish;        // STR_FINISH
    const wchar_t* pszDownloading;   // STR_DOWNLOADING
    const wchar_t* pszReconnecting;  // STR_RECONNECTING
};

const ExpectedPack kExpectedPacks[] = {
    {253, L"English", L"Korvix Setup", L"Installing, please wait(", L"finished.)", L"Installing !",
     L"Connecting again, please wait..."},
    {255, L"ChineseTW", L"Korvix 安裝", L"正在安裝，請等候(已完成", L")... ...", L"正在安裝 !",
     L"正在重新連線，請稍候..."},
    {257, L"French", L"Configuration de Korvix", L"Installation en cours, veuillez patienter (",
     L"terminé.)", L"Installation en cours！",
     L"Nouvelle connexion en cours, veuillez patienter..."},
    {258, L"German", L"Korvix Installation", L"Installation, bitte warten (", L"fertig.)",
     L"Installation !", L"Verbindung wird erneut hergestellt, bitte warten..."},
    {259, L"Italian", L"Installazione di Korvix", L"Installazione in corso, attendere (",
     L"completato.)", L"Installazione in corso !", L"Nuova connessione in corso, attendere..."},
    {260, L"Japanese", L"Korvixをインストール", L"インストール中、お待ち下さい(", L"完了)",
     L"インストール中!", L"再接続しています。しばらくお待ちください..."},
};

// The keys of every pack, in the order the packs hold them.
const wchar_t* const kPackKeys[] = {
    L"STR_COMPANY_NAME",
    L"STR_PROCESS_NAME",
    L"STR_PROJECT_NAME",
    L"STR_DOWN_URL",
    L"STR_LICENCE_URL",
    L"STR_CLOSE_TIP",
    L"STR_SOFT_TIP",
    L"STR_INSTALL_PATH",
    L"STR_AGREE_INSTALL",
    L"STR_AGREE",
    L"STR_NOTICE_PROCESS1",
    L"STR_NOTICE_PROCESS2",
    L"STR_DOWNLOADING",
    L"STR_BEING_INSTALLED",
    L"STR_INSTALLING_WAIT",
    L"STR_FINISH",
    L"STR_RECONNECTING",
    L"STR_ERROR",
    L"STR_NETWORK_ERROR",
    L"STR_SYSTEM_ERROR",
    L"STR_SELECT_FOLDER",
    L"STR_ACC_CLOSE",
    L"STR_ACC_MINIMISE",
    L"STR_ACC_INSTALL",
    L"STR_ACC_AGREE",
    L"STR_ACC_LICENCE",
    L"STR_ACC_OPTIONS",
    L"STR_ACC_BROWSE",
    L"STR_ACC_HIDE",
    L"STR_ACC_START",
    L"STR_PRODUCT_INSTALLED_IN",
    L"STR_START_FROM_MENU",
    L"STR_OPEN_ADDRESS",
};
