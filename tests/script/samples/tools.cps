#define ToolsVersion 1
{
}
