#pragma once
/// \file

#include "base/core/zelset.h"

/// Where a transport may be offered: a command of the designer, preview or
/// export, or a file type in the open and save dialogs started from them.
enum TzelFilterVisibleState {
    fvDesigner,
    fvPreview,
    fvExport,
    fvDesignerFileFilter,
    fvPreviewFileFilter,
    fvExportFileFilter,
    fvOther
};

/// Whether a transport reads or writes its streams.
enum TzelFilterAccess { faRead, faWrite };

/// A kind of stream a transport can hand out.
enum TzelIOTransportStream { tsIORead, tsIOWrite };

/// The places a transport is offered in.
using TzelFilterVisibility = TzelSet<TzelFilterVisibleState>;
/// The kinds of stream a transport supports.
using TzelIOTransportStreams = TzelSet<TzelIOTransportStream>;
