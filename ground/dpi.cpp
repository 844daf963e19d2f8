#include "ground/dpi.h"

typedef UINT (WINAPI *DpiForWindowFunction)(HWND window);
typedef int (WINAPI *MetricsForDpiFunction)(int index, UINT dpi);

// Looked up at run time: a direct import would stop the program from
// starting on systems before Windows 10.
static FARPROC User32Function(const char* name)
{
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? GetProcAddress(user32, name) : NULL;
}

static int ContextDpi(HWND window)
{
    HDC context = GetDC(window);
    int dpi = context ? GetDeviceCaps(context, LOGPIXELSY) : 0;
    if (context)
        ReleaseDC(window, context);
    return dpi > 0 ? dpi : BASE_DPI;
}

int WindowDpi(HWND window)
{
    static DpiForWindowFunction dpiForWindow =
        (DpiForWindowFunction)(void*)User32Function("GetDpiForWindow");
    if (dpiForWindow && window) {
        UINT dpi = dpiForWindow(window);
        if (dpi > 0)
            return (int)dpi;
    }
    return ContextDpi(window);
}

int SystemDpi()
{
    return ContextDpi(NULL);
}

int ScaleForDpi(int pixelsAt96, int dpi)
{
    return MulDiv(pixelsAt96, dpi, BASE_DPI);
}

int SystemMetricForDpi(int index, int dpi)
{
    static MetricsForDpiFunction metricsForDpi =
        (MetricsForDpiFunction)(void*)User32Function("GetSystemMetricsForDpi");
    if (metricsForDpi)
        return metricsForDpi(index, (UINT)dpi);
    return MulDiv(GetSystemMetrics(index), dpi, SystemDpi());
}
