#pragma once

/// Makes every report build with TzelEngine into TzelPreviewPages; safe to
/// call more than once. Programs and tests call it at start.
void zelRegisterEngine();
