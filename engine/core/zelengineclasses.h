#pragma once
/// \file

/// Makes every report build with TzelEngine into TzelPreviewPages and text
/// objects lay their text out for measuring and splitting; safe to
/// call more than once. Programs and tests call it at start.
void zelRegisterEngine();
