#pragma once
// The context-menu handler: IShellExtInit takes the selection, IContextMenu offers the one
// item for a single JPEG or TIFF file and runs the position command. One reference count
// serves both interfaces.

#include <windows.h>
#include <shlobj.h>

#include "common/file_kind.h"
#include "position/tiff_reader.h"
#include "shellext/captured_medium.h"
#include "shellext/com_object.h"

class CQuoriel final : public ComObject<CQuoriel, IShellExtInit, IContextMenu>,
                       private CQuorielReader {
  public:
    // IShellExtInit
    STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* data,
                            HKEY progId) noexcept override;

    // IContextMenu
    STDMETHODIMP QueryContextMenu(HMENU menu, UINT indexMenu, UINT idCmdFirst, UINT idCmdLast,
                                  UINT flags) noexcept override;
    STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* info) noexcept override;
    STDMETHODIMP GetCommandString(UINT_PTR idCmd, UINT type, UINT* reserved, CHAR* name,
                                  UINT cchMax) noexcept override;

  private:
    HRESULT BuildMenu(HMENU menu, UINT indexMenu, UINT idCmdFirst, UINT flags);

    CapturedMedium medium_;
    FileKind fileKind_ = FileKind::NONE;  // what QueryContextMenu found the file to be
};
