#pragma once
/// \file

class TzelCustomMemoView;

/// How text objects measure and split their text. Text layout lives in the
/// drawing layer above the model, which installs it once at start-up; until
/// then a text object keeps its height and splits like any stretchable view.
struct TzelMemoLayout
{
    /// The height the text needs.
    double (*CalcHeight)(const TzelCustomMemoView &memo) = nullptr;
    /// The width the text needs.
    double (*CalcWidth)(const TzelCustomMemoView &memo) = nullptr;
    /// Makes the whole text the part still to print.
    void (*InitPart)(TzelCustomMemoView &memo) = nullptr;
    /// Prints the lines that fit the current height; returns the height they leave unused.
    double (*DrawPart)(TzelCustomMemoView &memo) = nullptr;
};

/// Installs Layout for every text object.
void zelSetMemoLayout(const TzelMemoLayout &layout);
/// The installed layout; its functions are empty until one is installed.
const TzelMemoLayout &zelMemoLayout();
