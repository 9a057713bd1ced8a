<?xml version="1.0"?>
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
<xsl:param name="p"/>
<xsl:template match="/"><out><xsl:value-of select="$p"/><xsl:for-each select="//item"><i><xsl:value-of select="@n"/></i></xsl:for-each><xsl:apply-templates/></out></xsl:template>
<xsl:template match="title"><t><xsl:copy-of select="."/></t></xsl:template>
</xsl:stylesheet>
