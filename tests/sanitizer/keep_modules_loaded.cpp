// Linked into the executables of the sanitizer build only. Libraries that
// are unloaded before the leak check (the GL driver is) leave their
// allocations with no module to name, so no suppression can match them;
// kept loaded, their leaks are attributed to them and suppressed by name.
extern "C" int dlclose(void*) { return 0; }
