#pragma once

// Derives the GL filters from the nearest-filtering and mipmap switches and reports them on screen.
void applyTextureFilters();
