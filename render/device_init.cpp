#include "app/application.h"

namespace {

struct DepthCandidate {
    D3DFORMAT format;
    const char* logLine;
};

// Deepest first: the first format the adapter accepts is taken.
const DepthCandidate kDepthCandidates[] = {
    {D3DFMT_D32, "\t32bit depth buffer selected"},
    {D3DFMT_D24X8, "\t24bit depth buffer selected"},
    {D3DFMT_D16, "\t16bit depth buffer selected"},
};

}  // namespace

bool Application::Initialise(HWND hWnd, UINT width, UINT height) {
    if (FAILED(InitialiseD3D(hWnd, width, height))) {
        return false;
    }
    return CreateScene();
}

HRESULT Application::InitialiseD3D(HWND hWnd, UINT width, UINT height) {
    WriteLog("InitialiseD3D Started...");

    m_pDirect3D = Direct3DCreate8(D3D_SDK_VERSION);
    if (m_pDirect3D == NULL) {
        WriteLog("\tUnable to create DirectX9 interface.");
        return E_FAIL;
    }

    D3DFORMAT format = FindDisplayFormat(width, height, 32);
    if (format != D3DFMT_UNKNOWN) {
        WriteLog("\t%d x %d x 32bit back buffer format selected. Format = %d.", width, height, format);
    } else {
        format = FindDisplayFormat(width, height, 16);
        if (format != D3DFMT_UNKNOWN) {
            WriteLog("\t%d x %d x 16bit back buffer format selected. Format = %d.", width, height, format);
        } else {
            WriteLog("\tUnable to select back buffer format for %d x %d.", width, height);
            return E_FAIL;
        }
    }

    D3DDISPLAYMODE d3ddm;
    ZeroMemory(&d3ddm, sizeof(d3ddm));
    d3ddm.Width = width;
    d3ddm.Height = height;
    d3ddm.Format = format;

    D3DPRESENT_PARAMETERS d3dpp;
    ZeroMemory(&d3dpp, sizeof(d3dpp));
    d3dpp.BackBufferWidth = width;
    d3dpp.BackBufferHeight = height;
    d3dpp.BackBufferFormat = d3ddm.Format;
    d3dpp.BackBufferCount = 1;
    d3dpp.MultiSampleType = D3DMULTISAMPLE_NONE;
    d3dpp.SwapEffect = D3DSWAPEFFECT_COPY_VSYNC;
    d3dpp.hDeviceWindow = hWnd;
    d3dpp.Windowed = FALSE;
    d3dpp.Flags = 0;
    d3dpp.FullScreen_RefreshRateInHz = D3DPRESENT_RATE_DEFAULT;
    d3dpp.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_ONE;

    d3dpp.EnableAutoDepthStencil = FALSE;
    for (const DepthCandidate& candidate : kDepthCandidates) {
        // Only exactly D3D_OK counts: a success code with another meaning is not acceptance.
        if (m_pDirect3D->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, d3ddm.Format, D3DUSAGE_DEPTHSTENCIL,
                                           D3DRTYPE_SURFACE, candidate.format) == D3D_OK) {
            d3dpp.AutoDepthStencilFormat = candidate.format;
            d3dpp.EnableAutoDepthStencil = TRUE;
            WriteLog(candidate.logLine);
            break;
        }
    }
    if (!d3dpp.EnableAutoDepthStencil) {
        // Not fatal: the box is convex and culled, so it draws correctly without a depth buffer.
        WriteLog("\tUnable to select depth buffer.");
    }

    if (FAILED(m_pDirect3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, hWnd,
                                         D3DCREATE_SOFTWARE_VERTEXPROCESSING, &d3dpp, &m_pDevice))) {
        WriteLog("\tUnable to create device.");
        return E_FAIL;
    }

    m_pDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    m_pDevice->SetRenderState(D3DRS_LIGHTING, FALSE);
    m_pDevice->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);

    WriteLog("InitialiseD3D Finished OK");
    return S_OK;
}
