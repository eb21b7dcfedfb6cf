#pragma once

// The first HTTPS handshake of a process loads the trusted root certificates;
// under Wine that takes a quarter of a second, which would otherwise fall
// between the install click and the first byte of the download.
// Loads them now, on the calling thread.
void LoadTrustStore();
// Loads them on a worker of its own, while the user reads the dialog.
void WarmUpTrustStore();
