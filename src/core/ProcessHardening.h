#pragma once

// Keeps what the process holds in memory - the passcode, decrypted pictures and files - from
// reaching the disk through a crash: no core file, and no other process of this user may read its
// memory (ptrace, /proc/<pid>/mem). The first thing both programs do.
class ProcessHardening
{
public:
    ProcessHardening() = delete;

    // Best effort; answers whether both took effect.
    static bool apply();
};
