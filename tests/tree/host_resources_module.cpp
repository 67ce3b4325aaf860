// The code of the stand-in host module: none is needed but its resources.
extern "C" __declspec(dllexport) int VxTestHostResources() { return 1; }
