const ToolsVersion = 1;
begin
end.
